// A round dealt as a table shows it, for a room to see or on a phone: the
// deck, each hand and each packet a move lifts lie in squared piles, each
// with its top card named and its count said under it; the cards in flight
// go over them, drawn larger; a followed card is ringed in its color on top
// of a pile or in flight, and where it lies within a pile, the pile is
// ringed and the card's place in it said.

import { paintDealtCard } from './dealt.js';
import { font } from './dom.js';
import { cardLabel, facesShown, followedColor, followedColors, ordinal, rgbaCss } from './draw.js';
import { page } from './page.js';
import { faceLetters, roundedRect } from './rows.js';

// The pile a place is in.
const pileOf = (q) => (q.area === 'hand' ? `hand ${q.hand}` : q.area === 'mid' ? `mid ${q.part}` : q.area);

// Where the piles lie: the deck, the packets a move lifts, the new deck (on
// the deck's place where the two never hold cards at once) and the hands, in
// lines of as many as give the largest cards, each with two lines of words
// under it.
export function pileLayout(b, { hands, parts, shared }) {
  const ids = ['deck', ...Array.from({ length: parts }, (_, i) => `mid ${i}`), ...(shared ? [] : ['new']),
    ...Array.from({ length: hands }, (_, h) => `hand ${h}`)];
  const n = ids.length;
  // The pile's depth beside and under its top card, the gap between piles
  // and the labels' largest size.
  const edge = 12, gap = 16, most = page.presenting ? 20 : 13;
  let best = null;
  for (let across = 1; across <= n; ++across) {
    const lines = Math.ceil(n / across);
    const cellW = b.width / across;
    const labels = Math.max(10, Math.min(most, cellW / 10));
    const w = Math.min(cellW - edge - gap, (b.height / lines - edge - 10 - 2.6 * labels - gap) / 1.5, b.height * 0.4);
    if (!best || w > best.w) best = { across, lines, cellW, labels, w };
  }
  const { across, lines, cellW, labels, w } = best;
  const h = w * 1.5;
  const blockH = h + edge + 10 + 2.6 * labels + gap;
  const top = Math.max(0, (b.height - lines * blockH) / 2);
  const place = new Map(ids.map((id, i) => {
    const line = Math.floor(i / across);
    const left = (b.width - Math.min(across, n - line * across) * cellW) / 2;
    return [id, { x: left + ((i % across) + 0.5) * cellW - edge / 2, y: top + line * blockH + gap / 2 + h / 2 }];
  }));
  if (shared) place.set('new', place.get('deck'));
  return { piles: true, ids, card: { w, h }, edge, labels, cellW, at: (id) => place.get(id) };
}

// The size of a name on a card `w` by `h` of a pile: a face's rank above
// its suit, or a card's number.
const pileLetters = (w, h) => (facesShown() ? faceLetters(w, h, true) : Math.min(w * 0.5, h * 0.3));

// The round between step `before` and step `now`, `t` of the way there
// (eased `e`): the piles as they lie without the cards in flight, then
// those, a group for each pile they leave and pile they go to.
export function paintPiles(layout, before, now, t, e, drawn) {
  const bottomUp = (places) => {
    const piles = new Map();
    places.forEach((q, p) => {
      const id = pileOf(q);
      if (!piles.has(id)) piles.set(id, []);
      piles.get(id).push(p);
    });
    for (const list of piles.values()) list.sort((a, b) => places[a].slot - places[b].slot);
    return piles;
  };
  const was = bottomUp(before), is = bottomUp(now);
  const rankIn = (piles, places, p) => piles.get(pileOf(places[p])).indexOf(p);
  const flying = new Map();
  // At the end of a step every card lies in its pile: none flies.
  const moving = t < 1 ? now.length : 0;
  for (let p = 0; p < moving; ++p) {
    const from = pileOf(before[p]), to = pileOf(now[p]);
    // A card that goes under the pile it is in flies too.
    if (from !== to || Math.abs(rankIn(was, before, p) - rankIn(is, now, p)) > 1) {
      const key = `${from}>${to}`;
      if (!flying.has(key)) flying.set(key, []);
      flying.get(key).push(p);
    }
  }
  const inFlight = new Set([...flying.values()].flat());
  const lying = new Map();
  for (const [id, list] of is) {
    const still = list.filter((p) => !inFlight.has(p));
    if (still.length) lying.set(id, still);
  }
  // Every place of the table, its pile or its outline where it is empty:
  // the new deck shares the deck's place where the layout says so.
  for (const id of layout.ids) {
    const shown = id === 'deck' && lying.has('new') && layout.at('new') === layout.at('deck') ? 'new' : id;
    paintPile(layout, shown, lying.get(shown) || [], now, drawn);
  }
  const topSlot = (list) => Math.max(...list.map((p) => now[p].slot));
  for (const [key, list] of [...flying].sort((a, b) => topSlot(a[1]) - topSlot(b[1]))) {
    const [from, to] = key.split('>');
    const a = layout.at(from), z = layout.at(to);
    const grow = 1 + 0.25 * Math.sin(Math.PI * e);
    const card = { w: layout.card.w * grow, h: layout.card.h * grow };
    const box = page.box;
    const x = Math.min(box.width - card.w / 2, Math.max(card.w / 2, a.x + (z.x - a.x) * e));
    const lift = from === to ? Math.sin(Math.PI * e) * layout.card.h * 0.7 : 0;
    const y = Math.min(box.height - card.h / 2, Math.max(card.h / 2, a.y + (z.y - a.y) * e - lift));
    list.sort((p, q) => now[p].slot - now[q].slot);
    paintSquared(layout, { x, y }, card, list, now, '', drawn);
  }
}

// A pile's cards `list` (bottom first) of the places `places`, squared
// under the top one at `at`, `card` large; with `label`, its name and count
// under it, and the followed cards within it.
function paintSquared(layout, at, card, list, places, label, drawn) {
  const { model, state, theme } = page;
  const { w, h } = card;
  const followed = followedColors();
  const edges = Math.min(4, Math.ceil((list.length - 1) / 6));
  const step = layout.edge / 4;
  for (let i = edges; i >= 1; --i) {
    page.ctx.beginPath();
    roundedRect(at.x - w / 2 + i * step, at.y - h / 2 + i * step, w, h, Math.max(2, w * 0.12));
    page.ctx.fillStyle = theme.dark ? '#f2f0ea' : '#ffffff';
    page.ctx.fill();
    page.ctx.lineWidth = 1;
    page.ctx.strokeStyle = theme.muted;
    page.ctx.stroke();
  }
  const top = places[list[list.length - 1]];
  const letters = pileLetters(w, h);
  const ring = followed.has(top.card) ? followedColor(followed.get(top.card)) : null;
  paintDealtCard(top.card, at.x, at.y, card, model.colors[state.color][top.card], top.up, ring, letters, true);
  drawn.places.set(top.card, { x: at.x, y: at.y, w, h, letters, tall: facesShown() });
  // The followed cards within the pile: the pile ringed, dashed, in each
  // one's color, and where it lies counted from the pile's top.
  const within = [];
  list.slice(0, -1).forEach((p, i) => {
    if (!followed.has(places[p].card)) return;
    const color = rgbaCss(followedColor(followed.get(places[p].card)));
    const out = 5 + 4 * within.length;
    page.ctx.beginPath();
    roundedRect(at.x - w / 2 - out, at.y - h / 2 - out, w + edges * step + 2 * out, h + edges * step + 2 * out, Math.max(3, w * 0.14));
    page.ctx.setLineDash([8, 5]);
    page.ctx.lineWidth = 3;
    page.ctx.strokeStyle = color;
    page.ctx.stroke();
    page.ctx.setLineDash([]);
    within.push([color, `${cardLabel(places[p].card)} ${ordinal(list.length - i)}`]);
  });
  if (!label) return;
  const labels = layout.labels;
  page.ctx.font = font(labels);
  page.ctx.textAlign = 'center';
  page.ctx.textBaseline = 'middle';
  const x = at.x + layout.edge / 2;
  let y = at.y + h / 2 + layout.edge + 10 + labels * 0.8;
  // A line too wide for its pile's room is written smaller.
  const named = (text, color) => {
    const room = layout.cellW - 8 - (color ? labels * 1.8 : 0);
    page.ctx.font = font(labels * Math.min(1, room / page.ctx.measureText(text).width));
    page.ctx.fillStyle = theme.ink;
    page.ctx.fillText(text, x, y);
    const width = page.ctx.measureText(text).width;
    page.ctx.font = font(labels);
    if (color) {
      page.ctx.fillStyle = color;
      page.ctx.fillRect(x - width / 2 - labels * 0.9, y - labels * 0.3, labels * 0.6, labels * 0.6);
    }
    drawn.labels.push([width + (color ? labels * 0.9 : 0) * 2 - (layout.cellW - 8), text]);
    y += labels * 1.3;
  };
  named(label, null);
  if (within.length) named(`${within.map(([, text]) => text).join(', ')} from the top`, within[0][0]);
}

// A pile of the table by its name, `list` its cards, bottom first: its top
// card, or its outline where it is empty; its name and count under it.
function paintPile(layout, id, list, places, drawn) {
  const at = layout.at(id);
  const [area, n] = id.split(' ');
  const name = area === 'hand' ? `hand ${n}` : area === 'new' ? 'new deck'
    : area === 'mid' ? (list.length ? places[list[0]].named : '') : 'deck';
  if (area === 'mid' && !list.length) return;
  // A pile's face-up cards show in a room only on top: their count is said.
  const up = list.filter((p) => places[p].up).length;
  const label = `${name}, ${list.length} card${list.length === 1 ? '' : 's'}${up ? `, ${up} face up` : ''}`;
  if (list.length) {
    paintSquared(layout, at, layout.card, list, places, label, drawn);
    return;
  }
  const { w, h } = layout.card;
  page.ctx.beginPath();
  roundedRect(at.x - w / 2, at.y - h / 2, w, h, Math.max(2, w * 0.12));
  page.ctx.setLineDash([6, 6]);
  page.ctx.lineWidth = 1.5;
  page.ctx.strokeStyle = page.theme.line;
  page.ctx.stroke();
  page.ctx.setLineDash([]);
  page.ctx.font = font(layout.labels);
  page.ctx.textAlign = 'center';
  page.ctx.textBaseline = 'middle';
  page.ctx.fillStyle = page.theme.muted;
  page.ctx.fillText(label, at.x + layout.edge / 2, at.y + h / 2 + layout.edge + 10 + layout.labels * 0.8);
}
