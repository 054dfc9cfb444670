// How many riffles mix the deck shown: the total variation distance from a
// random deck after 0, 1, 2, ... riffles, near 1 for a few and then a sharp
// drop. The core computes the curve; deal-mix prints it exactly.

import { ask } from './core.js';
import { $ } from './dom.js';
import { axesStyle, fitPlot } from './draw.js';
import { setReady } from './fields.js';
import { settled } from './landscape.js';
import { page, update } from './page.js';

const mixingCanvas = $('mixing');
const mixingContext = mixingCanvas.getContext('2d');

// Three times the binary digits of the deck's size: the drop comes near half
// way, at about 3/2 log2 of it.
const mixingShuffles = (size) => Math.min(page.facts.table.max_shuffles, 3 * Math.ceil(Math.log2(size + 1)));

// The curve is worked out after the view is painted, the plot saying so
// meanwhile; with `now`, at once.
export function drawMixing(now = false) {
  const { model, theme } = page;
  const size = model.size;
  // Past this many cards the curve costs more than a step of the page may
  // (its work grows as the square of the deck): deal-mix answers there.
  const most = page.facts.table.max_curve_cards;
  const shown = size >= 1 && size <= most;
  mixingCanvas.style.display = shown ? '' : 'none';
  if (!shown) {
    $('mixing-title').textContent = `How many riffles mix ${size} card${size === 1 ? '' : 's'}`;
    $('mixing-reading').textContent = `The page draws the curve for decks of 1 to ${most} cards; ` +
      `for ${size}, deal-mix ${Math.max(1, size)} prints it exactly and deal-picture --view mix ${Math.max(1, size)} draws it.`;
    return;
  }
  if (!page.mixing || page.mixing.size !== size) {
    if (!now) {
      fitPlot(mixingCanvas, mixingContext, 150, 220, 0.22);
      $('mixing-reading').textContent = `Working out the distances for ${size} card${size === 1 ? '' : 's'}…`;
      if (!page.mixingQueued) {
        update({ mixingQueued: true });
        requestAnimationFrame(() => setTimeout(() => {
          update({ mixingQueued: false });
          drawMixing(true);
          if (!page.dealing) setReady(settled());
        }, 0));
      }
      return;
    }
    const shuffles = mixingShuffles(size);
    const { distances } = ask('explorer_mixing', { cards: size, shuffles });
    update({ mixing: { size, values: Array.from(distances) } });
  }
  const values = page.mixing.values;
  const { width, height } = fitPlot(mixingCanvas, mixingContext, 150, 220, 0.22);
  const c = mixingContext;
  const m = { left: 58, right: 12, top: 10, bottom: 34 };
  const plotW = width - m.left - m.right, plotH = height - m.top - m.bottom;
  const last = values.length - 1;
  const x = (k) => m.left + (k / Math.max(1, last)) * plotW;
  const y = (d) => m.top + plotH - d * plotH;
  axesStyle(c);
  for (const [d, label] of [[0, '0'], [0.5, '1/2'], [1, '1']]) {
    const yy = Math.round(y(d)) + 0.5;
    c.beginPath();
    c.moveTo(m.left, yy);
    c.lineTo(m.left + plotW, yy);
    c.stroke();
    c.fillText(label, m.left - 6, yy);
  }
  c.textAlign = 'center';
  c.textBaseline = 'top';
  const step = [1, 2, 5, 10, 20].find((s) => last / s <= 12) || 25;
  for (let k = 0; k <= last; k += step) c.fillText(String(k), x(k), m.top + plotH + 6);
  c.fillText('riffles', m.left + plotW / 2, m.top + plotH + 20);
  c.strokeStyle = theme.dark ? '#7a93d6' : '#3b528b';
  c.fillStyle = c.strokeStyle;
  c.lineWidth = 2;
  c.beginPath();
  values.forEach((d, k) => (k === 0 ? c.moveTo(x(k), y(d)) : c.lineTo(x(k), y(d))));
  c.stroke();
  for (let k = 0; k <= last; ++k) c.fillRect(x(k) - 2.5, y(values[k]) - 2.5, 5, 5);
  $('mixing-title').textContent = `How many riffles mix ${size} card${size === 1 ? '' : 's'}`;
  const half = values.findIndex((d) => d < 0.5);
  mixingCanvas.setAttribute('aria-label', `How many riffles mix ${size} card${size === 1 ? '' : 's'}: the total ` +
    `variation distance from a deck in random order after 0 to ${last} riffles` +
    `${half < 0 ? '' : `, under 1/2 from ${half} riffle${half === 1 ? '' : 's'} on`}.`);
  $('mixing-reading').textContent = `The total variation distance between ${size} card${size === 1 ? '' : 's'} ` +
    `riffled 0 to ${last} times and a deck in random order: near 1 for a few riffles, then a sharp drop. ` +
    `The same from a terminal, exactly: deal-mix --shuffles ${last} ${size}`;
}
