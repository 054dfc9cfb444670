// What the browser test reads of the page and times in it, installed only
// where the test asks for it before the page loads (an object at
// window.dealExplorerTestHooks, filled here): no code path of the page
// itself goes through it.

import { ask, faceUpMask, roundFields } from './core.js';
import { canvas, font } from './dom.js';
import { cardLabel, contrast, cssColor, followedColor, outlineOf } from './draw.js';
import { show, step } from './fields.js';
import { computeLandscape } from './landscape.js';
import { drawMixing } from './mixing.js';
import { page, update } from './page.js';
import { pictureName, pngOfView, svgOfView } from './save.js';

// The mean of `times` runs, in milliseconds.
function measure(times, run) {
  const started = performance.now();
  for (let i = 0; i < times; ++i) run(i);
  return (performance.now() - started) / times;
}

// How high a capital letter stands in a font of `size` pixels.
function capitalsOf(size) {
  const c = canvas.getContext('2d');
  c.font = font(size);
  const m = c.measureText('K');
  return m.actualBoundingBoxAscent + m.actualBoundingBoxDescent;
}

// What is timed: a step, a jump, the landscape and the mixing curve.
const timings = {
  // When the page was ready, in milliseconds from the start of loading.
  readyAt: () => performance.getEntriesByName('deal-explorer-ready')[0]?.startTime ?? null,
  // The time between the frames of the last round dealt.
  dealFrames: () => page.dealtFrames,
  // A step as the Right arrow makes it: the deck computed and drawn.
  timeStep: (times) => measure(times, () => step(1, 'replace')),
  // A jump as far as the core goes: the round number reduced, the deck
  // put in order and its listing made.
  timeJump: (round, times) => measure(times, () => ask('explorer_rows', { ...roundFields(page.state), round, count: 1 },
    false, page.model).listing),
  // The same jump with the whole view drawn.
  timeJumpDrawn: (round, times) => measure(times, (i) => show({ ...page.state, round: BigInt(round) + BigInt(i & 1) }, 'replace')),
  // The landscape of the deal shown, computed afresh.
  timeLandscape: (times) => measure(times, () => { update({ landscape: null }); computeLandscape(true); }),
  // The mixing curve of the deck shown, computed afresh.
  timeMixing: (times) => measure(times, () => { update({ mixing: null }); drawMixing(true); }),
};

// Where things are drawn, for the test to point at them, and what is drawn.
const views = {
  // Where, in the canvas's CSS pixels, the rows view shows `position` of
  // row `row`.
  pointOf: (row, position) => (page.view.kind === 'rows' ? { x: page.view.x(position), y: page.view.y(row) } : null),
  // Where, in the landscape's CSS pixels, count `n` is.
  landscapePointOf: (n) => ({ x: page.landscape.x(n), y: page.landscape.m.top + page.landscape.plotH / 2 }),
  // What Save PNG and Save SVG write: the file's name, and its bytes.
  savedName: (kind) => pictureName(kind),
  svg: () => svgOfView(),
  png: () => new Promise((resolve) => {
    pngOfView((blob) => blob.arrayBuffer().then((b) => resolve(Array.from(new Uint8Array(b)))));
  }),
  // The size of the names on the faces last drawn, in CSS pixels; and how
  // high a capital letter of them stands.
  faceFont: () => page.faceFont,
  faceCapitals: () => capitalsOf(page.faceFont),
  // The least contrast with the canvas of any card's dot, by its fill or its
  // outline, in the colors and the theme shown.
  dotContrast: () => Math.min(...Array.from(page.model.colors[page.state.color], (color) => {
    const outline = outlineOf(color);
    return Math.max(contrast(color, page.theme.canvasColor), outline ? contrast(cssColor(outline), page.theme.canvasColor) : 1);
  })),
  // The mixing curve's points.
  mixing: () => page.mixing.values,
  // The rows shown, each deck from the bottom, and those marked as the
  // starting order.
  rows: () => ({ returns: page.view.returns, size: page.model.size,
    decks: Array.from(page.view.deck, (c) => c & faceUpMask) }),
  // The followed card's chances on row `row`, with moves by chance.
  rowChances: (row = 0) => (page.rows.chances
    ? Array.from(page.rows.chances.subarray(row * page.model.size, (row + 1) * page.model.size)) : null),
  // The first followed card's color, [r, g, b].
  followed: () => [0, 8, 16].map((shift) => (followedColor() >>> shift) & 255),
};

// The color drawn just outside the followed card, wherever the round being
// dealt has brought it, in CSS rgba() terms; and the followed color.
function dealtRing() {
  const at = page.dealtDrawn.places.get(page.state.card);
  const ratio = window.devicePixelRatio || 1;
  const pixel = canvas.getContext('2d').getImageData(Math.round(at.x * ratio),
    Math.round((at.y - at.h / 2 - 4) * ratio), 1, 1).data;
  return { drawn: Array.from(pixel.slice(0, 3)), followed: views.followed() };
}

// The round being dealt as drawn: the smallest cards' names and how high
// their capitals stand, those cards' size, by how much the widest name is
// wider than its card and the widest label than its room, how many cards
// are drawn and how many leave the canvas or lie over another, in CSS
// pixels.
function dealtView() {
  const { places: drawn, labels } = page.dealtDrawn;
  const places = [...drawn.entries()];
  const { w, h, letters } = places.reduce((a, b) => (b[1].letters < a.letters ? b[1] : a), places[0][1]);
  const c = canvas.getContext('2d');
  const box = page.box;
  const widths = (card, q) => {
    c.font = font(q.letters);
    const name = cardLabel(card);
    return Math.max(...(q.tall ? [name.slice(0, -1), name.slice(-1)] : [name]).map((t) => c.measureText(t).width)) - (q.w - 2);
  };
  return {
    letters, capitals: capitalsOf(letters), card: { w, h }, drawn: places.length,
    nameOver: Math.max(...places.map(([card, q]) => widths(card, q))),
    labelOver: Math.max(-1, ...labels.map(([over]) => over)),
    // The cards followed neither drawn nor said within a pile.
    unmarked: [page.state.card, ...page.state.more].filter((card) => card !== null && !drawn.has(card) &&
      !labels.some(([, text]) => text.split(', ').some((part) => part.startsWith(`${cardLabel(card)} `)))).map(cardLabel),
    outside: places.filter(([, q]) => q.x - q.w / 2 < 0 || q.x + q.w / 2 > box.width || q.y - q.h / 2 < 0 || q.y + q.h / 2 > box.height).length,
    // Cards that lie over another by more than a pixel.
    covering: places.filter(([a, q]) => places.some(([b, r]) => a !== b && Math.abs(q.x - r.x) < q.w - 1 && Math.abs(q.y - r.y) < q.h - 1)).length,
  };
}

// Fills `hooks`, the object the test left on the window, with what it reads.
export function installTestHooks(hooks) {
  Object.assign(hooks, timings, views, { dealtRing, dealtView });
}
