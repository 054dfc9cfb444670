// The period landscape: the period of the deal for every hand count it
// takes, or, by a switch, for the hand count shown and every deck size, on a
// logarithmic scale. Pointing reads a count and its period; clicking goes
// there; the deck shown is marked. The core computes every point.

import { ask, dealFields } from './core.js';
import { $ } from './dom.js';
import { axesStyle, fitPlot } from './draw.js';
import { applyValues, setReady, show } from './fields.js';
import { page, update } from './page.js';

const landscapeCanvas = $('landscape');
const landscapeContext = landscapeCanvas.getContext('2d');

// The landscape's key: what its points depend on.
const landscapeKey = (s) => (s.routine ? ['routine', s.routine] : s.across === 'cards'
  ? ['cards', s.hands, s.packets, s.rest, s.firstCard, s.bottomHand]
  : ['hands', s.packets, s.cards, s.rest, s.firstCard, s.bottomHand]).join('|');

// Thousands of periods are worked out a slice at a time, between frames, so
// that the page answers while they are: a slice about this many
// milliseconds, the points drawn as they come.
const landscapeSlice = 12;

// The landscape's work, changed as update() changes everything.
const worked = (changes) => update({ landscape: { ...page.landscape, work: { ...page.landscape.work, ...changes } } });

// Starts the landscape of the state shown where it is not that one; with
// `whole`, works it all out at once.
export function computeLandscape(whole = false) {
  const state = page.state;
  const key = landscapeKey(state);
  if (!page.landscape || page.landscape.key !== key) {
    // A routine's moves fit every deck, not every hand count: its landscape
    // runs across deck sizes.
    const fields = { ...dealFields(state), across: state.across };
    const { byCards, count } = ask('explorer_landscape', { ...fields, from: 1, to: 0 });
    // The work: what is asked, the points worked out (NaN until they are),
    // how many, how many are asked at a time, and for how long it ran.
    const work = { fields, values: new Float32Array(count).fill(NaN), done: 0, step: 64, time: 0, queued: false };
    update({ landscape: { key, byCards, count, work } });
  }
  const work = page.landscape.work;
  if (whole) {
    worked(workOnLandscape(work, Infinity));
  } else if (work.done < work.values.length && !work.queued) {
    // A slice runs just after a frame is painted, never before one: a
    // field's change, or a key, is painted before the landscape goes on.
    worked({ queued: true });
    requestAnimationFrame(() => setTimeout(() => {
      // Another landscape may have taken its place meanwhile.
      if (!page.landscape || page.landscape.work.fields !== work.fields) return;
      worked({ ...workOnLandscape(page.landscape.work, landscapeSlice), queued: false });
      drawLandscape();
      if (landscapeDone() && !page.dealing) setReady(settled());
    }, 0));
  }
}

const landscapeDone = () => !page.landscape || page.landscape.work.done === page.landscape.count;
// Whether the plots under the view are all worked out.
export const settled = () => landscapeDone() && !page.mixingQueued;

// The work after `budget` milliseconds more of it, each ask sized to take a
// few: its new points, how far they go, the size of the next ask, and the
// time it has taken.
function workOnLandscape(work, budget) {
  const started = performance.now();
  const values = work.values.slice();
  let { done, step } = work;
  while (done < values.length && performance.now() - started < budget) {
    const to = Math.min(values.length, done + step);
    const asked = performance.now();
    values.set(ask('explorer_landscape', { ...work.fields, from: done + 1, to }).values, done);
    done = to;
    const took = performance.now() - asked;
    step = Math.max(16, Math.min(8192, Math.round(step * (3 / Math.max(0.25, took)))));
  }
  return { values, done, step, time: work.time + performance.now() - started };
}

export function drawLandscape() {
  computeLandscape();
  const { state, model, theme, landscapeCursor } = page;
  const { width, height } = fitPlot(landscapeCanvas, landscapeContext, 180, 260, 0.28);
  const c = landscapeContext;
  let l = page.landscape;
  const values = l.work.values;
  // A deck that the routine's moves do not fit has no point, and -1.
  // Points not yet worked out are NaN, and count for nothing here.
  const most = values.reduce((m, v) => (v > m ? v : m), 1);
  // Powers of ten up the side, where the periods run.
  const decades = Math.max(1, Math.ceil(most / Math.log2(10)));
  const m = { left: 58, right: 12, top: 10, bottom: 34 };
  const plotW = width - m.left - m.right, plotH = height - m.top - m.bottom;
  const x = (n) => m.left + ((n - 1) / Math.max(1, l.count - 1)) * plotW;
  const y = (log2) => m.top + plotH - (log2 / (decades * Math.log2(10))) * plotH;
  update({ landscape: { ...l, m, plotW, plotH, x, width, height } });
  l = page.landscape;
  axesStyle(c);
  const every = Math.ceil(decades / 6);
  for (let d = 0; d <= decades; d += every) {
    const yy = Math.round(y(d * Math.log2(10))) + 0.5;
    c.beginPath();
    c.moveTo(m.left, yy);
    c.lineTo(width - m.right, yy);
    c.stroke();
    c.fillText(d < 4 ? readable(10 ** d) : `10${superscript(d)}`, m.left - 6, yy);
  }
  c.save();
  c.translate(12, m.top + plotH / 2);
  c.rotate(-Math.PI / 2);
  c.textAlign = 'center';
  c.fillText('period, rounds', 0, 0);
  c.restore();
  c.textAlign = 'center';
  c.textBaseline = 'top';
  const ticks = niceTicks(l.count);
  for (const n of ticks) c.fillText(readable(n), x(n), m.top + plotH + 6);
  c.fillText(model.routine ? 'cards in the deck'
    : l.byCards ? `cards in the deck, ${state.hands} hand${state.hands === 1 ? '' : 's'}` : 'hands',
  m.left + plotW / 2, m.top + plotH + 20);
  // The points, a small square each, in the accent color; while they are
  // worked out, a bar under the axis as far as they go.
  if (l.work.done < l.count) {
    c.fillStyle = theme.ink;
    c.fillRect(m.left, m.top + plotH + 1, (l.work.done / l.count) * plotW, 3);
  }
  c.fillStyle = theme.dark ? '#7a93d6' : '#3b528b';
  const dot = l.count > 1500 ? 2.5 : l.count > 400 ? 3 : 4;
  for (let i = 0; i < l.count; ++i) if (values[i] >= 0) c.fillRect(x(i + 1) - dot / 2, y(values[i]) - dot / 2, dot, dot);
  // The deck shown, and the count pointed at.
  const here = l.byCards ? model.size : state.hands;
  mark(c, x(here), y(values[here - 1]), theme.mark);
  if (landscapeCursor !== null && landscapeCursor >= 1 && landscapeCursor <= l.count &&
      values[landscapeCursor - 1] >= 0) {
    mark(c, x(landscapeCursor), y(values[landscapeCursor - 1]), theme.ink);
  }
  describeLandscape();
}

function mark(c, px, py, color) {
  c.strokeStyle = color;
  c.lineWidth = 2;
  c.beginPath();
  c.arc(px, py, 6, 0, 2 * Math.PI);
  c.stroke();
  c.globalAlpha = 0.35;
  c.beginPath();
  c.moveTo(px, page.landscape.m.top);
  c.lineTo(px, page.landscape.m.top + page.landscape.plotH);
  c.stroke();
  c.globalAlpha = 1;
}

// Numbers as people read them: thousands apart by a thin space, and powers
// of ten written as powers.
const readable = (n) => String(n).replace(/\B(?=(\d{3})+$)/g, '\u2009');
export const superscript = (d) => String(d).replace(/\d/g, (digit) => '⁰¹²³⁴⁵⁶⁷⁸⁹'[digit]);

function niceTicks(count) {
  const step = [1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000].find((s) => count / s <= 8) || 5000;
  const ticks = [1];
  for (let n = step; n <= count; n += step) if (n !== 1) ticks.push(n);
  return ticks;
}

function describeLandscape() {
  const { landscape: l, state, model } = page;
  const what = l.byCards ? 'every deck size from 1 to ' : 'every hand count from 1 to ';
  landscapeCanvas.setAttribute('aria-label', `The period, on a logarithmic scale, of ${what}${l.count}; ` +
    `the deck shown is marked. Left and Right move, Enter goes there.`);
  const n = page.landscapeCursor;
  // While the points are worked out, the reading says how far they are.
  const working = l.work.done < l.count ? `Working out the periods: ${l.work.done} of ${l.count}…` : '';
  if (n === null) {
    $('landscape-reading').textContent = working ||
      `Point at the plot to read a period; click to go there. Computed in ${l.work.time.toFixed(0)} ms.`;
    return;
  }
  const period = ask('explorer_landscape_period', { ...dealFields(state), across: state.across, x: n }).period;
  $('landscape-reading').textContent = `${working} ${period === ''
    ? `${n} card${n === 1 ? '' : 's'}: the routine's moves do not fit so small a deck.`
    : model.routine ? `${n} card${n === 1 ? '' : 's'}: period ${period}.`
    : l.byCards
    ? `${n} card${n === 1 ? '' : 's'}, ${state.hands} hand${state.hands === 1 ? '' : 's'}: period ${period}.`
    : `${n} hand${n === 1 ? '' : 's'}: period ${period}.`}`.trim();
}

// The count under the pointer.
function landscapeAt(event) {
  const l = page.landscape;
  const rect = landscapeCanvas.getBoundingClientRect();
  const px = event.clientX - rect.left;
  const n = Math.round(((px - l.m.left) / l.plotW) * (l.count - 1)) + 1;
  return Math.max(1, Math.min(l.count, n));
}

// Goes to the count: the hand count, or the deck size.
function goToLandscape(n) {
  applyValues(page.landscape.byCards ? { cards: n } : { hands: n });
}

export function wireLandscape() {
  landscapeCanvas.addEventListener('pointermove', (event) => {
    update({ landscapeCursor: landscapeAt(event) });
    drawLandscape();
  });
  landscapeCanvas.addEventListener('pointerleave', () => {
    update({ landscapeCursor: null });
    drawLandscape();
  });
  landscapeCanvas.addEventListener('click', (event) => goToLandscape(landscapeAt(event)));
  landscapeCanvas.addEventListener('keydown', (event) => {
    const l = page.landscape;
    const at = page.landscapeCursor ?? (l.byCards ? page.model.size : page.state.hands);
    const by = event.shiftKey ? 10 : 1;
    if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
      update({ landscapeCursor: Math.max(1, Math.min(l.count, at + (event.key === 'ArrowRight' ? by : -by))) });
    } else if (event.key === 'Home' || event.key === 'End') {
      update({ landscapeCursor: event.key === 'Home' ? 1 : l.count });
    } else if (event.key === 'Enter') {
      goToLandscape(at);
    } else {
      return;
    }
    event.preventDefault();
    event.stopPropagation();
    drawLandscape();
  });
  for (const input of document.querySelectorAll('input[name="across"]')) {
    input.addEventListener('change', () => show({ ...page.state, across: input.value }, 'push'));
  }
}
