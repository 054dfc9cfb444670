// The map view: one round as a plot, a dot for every position of the deck,
// across at the position it holds before the round, up at the position its
// card holds after it. The passes of a deal show as straight runs; a
// followed card's cycle is drawn over it as a cobweb.

import { $ } from './dom.js';
import { alsoFollowed, fade, focused, followedColor, followedColors, outlineOf, rgbaCss } from './draw.js';
import { page } from './page.js';
import { askRows, labelFont, paintCursor, showTexts } from './rows.js';

// The side of the map and its margins, for a box as wide as `b`: the canvas
// is made as tall as the map needs, and no taller.
const mapMargin = (b) => ({ left: b.width < 480 ? 44 : 64, right: 12, top: 12, bottom: 40 });
export function mapHeight(b) {
  const m = mapMargin(b);
  return b.width - m.left - m.right + m.top + m.bottom;
}

export function layoutMap(b) {
  // The rows are still made: the listing and the hands need them.
  askRows(1);
  showTexts();
  const margin = mapMargin(b);
  const side = Math.max(50, Math.min(b.width - margin.left - margin.right, b.height - margin.top - margin.bottom));
  const left = margin.left + (b.width - margin.left - margin.right - side) / 2;
  const top = margin.top;
  const size = page.model.size;
  const scale = side / size;
  $('caption').textContent = 'One round as a map: a dot for every position of the deck, across at the ' +
    'position it holds before a round, up at the position its card holds after it. ' +
    'The straight runs are the passes of the deal; point at a dot to follow its cycle.' +
    (page.model.follows ? ' A chosen pile is gathered here in its order, as if no card were followed.' : '');
  return {
    kind: 'map', box: b, left, top, side, scale,
    x: (position) => left + (position + 0.5) * scale,
    y: (position) => top + side - (position + 0.5) * scale,
  };
}

export function paintMap(v) {
  const { model, state, theme, cursor } = page;
  const size = model.size;
  const colors = model.colors[state.color];
  const { focus, focusCycle } = focused();
  page.ctx.strokeStyle = theme.line;
  page.ctx.lineWidth = 1;
  page.ctx.strokeRect(v.left, v.top, v.side, v.side);
  page.ctx.beginPath();
  page.ctx.moveTo(v.left, v.top + v.side);
  page.ctx.lineTo(v.left + v.side, v.top);
  page.ctx.setLineDash([4, 4]);
  page.ctx.stroke();
  page.ctx.setLineDash([]);
  const dot = Math.max(1.5, Math.min(v.scale * 0.8, 10));
  for (let p = 0; p < size; ++p) {
    const faded = focusCycle >= 0 && model.cycleOf[p] !== focusCycle;
    page.ctx.fillStyle = rgbaCss(faded ? fade(colors[p]) : colors[p]);
    page.ctx.fillRect(v.x(p) - dot / 2, v.y(model.goesTo[p]) - dot / 2, dot, dot);
    // Where the color alone would not stand out from the canvas.
    const outline = faded || dot < 4 ? null : outlineOf(colors[p]);
    if (outline) {
      page.ctx.strokeStyle = outline;
      page.ctx.strokeRect(v.x(p) - dot / 2, v.y(model.goesTo[p]) - dot / 2, dot, dot);
    }
  }
  page.ctx.fillStyle = theme.muted;
  page.ctx.font = labelFont;
  page.ctx.textBaseline = 'top';
  page.ctx.textAlign = 'center';
  page.ctx.fillText('position before the round →', v.left + v.side / 2, v.top + v.side + 18);
  page.ctx.fillText('0', v.left, v.top + v.side + 4);
  page.ctx.fillText(String(size - 1), v.left + v.side, v.top + v.side + 4);
  page.ctx.save();
  page.ctx.translate(v.left - 16, v.top + v.side / 2);
  page.ctx.rotate(-Math.PI / 2);
  page.ctx.textBaseline = 'bottom';
  page.ctx.fillText('position after →', 0, 0);
  page.ctx.restore();
  if (cursor && cursor.kind === 'map') paintCursor(v);
  // The cards followed, each in its own color, the first on top; the card
  // pointed at in ink.
  for (const { card, color } of alsoFollowed().reverse()) paintCobweb(v, card, rgbaCss(followedColor(color)), dot);
  if (state.card !== null) paintCobweb(v, state.card, rgbaCss(followedColor()), dot);
  if (focus !== null && !followedColors().has(focus)) paintCobweb(v, focus, theme.ink, dot);
}

// A card's cycle as a cobweb: from each dot across to the diagonal, then up
// or down to the next position's dot. A long cycle's cobweb would cover the
// map: its dots, larger, say it.
function paintCobweb(v, card, color, dot) {
  const { model, facts } = page;
  const length = model.cycleLength[card];
  page.ctx.fillStyle = page.ctx.strokeStyle = color;
  if (length > facts.table.max_cobweb_length) {
    const big = dot + 2;
    for (let p = 0; p < model.size; ++p) {
      if (model.cycleOf[p] === model.cycleOf[card]) page.ctx.fillRect(v.x(p) - big / 2, v.y(model.goesTo[p]) - big / 2, big, big);
    }
    return;
  }
  page.ctx.beginPath();
  let p = card;
  page.ctx.moveTo(v.x(p), v.y(model.goesTo[p]));
  for (let i = 0; i < length; ++i) {
    const q = model.goesTo[p];
    page.ctx.lineTo(v.x(q), v.y(q));
    page.ctx.lineTo(v.x(q), v.y(model.goesTo[q]));
    p = q;
  }
  page.ctx.lineWidth = 1.5;
  page.ctx.stroke();
}
