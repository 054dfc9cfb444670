// A round dealt before the eyes, for decks small enough to follow, move by
// move: a deal's cards leave the top of the deck one at a time into the
// hands laid out side by side, pass after pass, and the hands are gathered
// in order into the new deck; a cut lifts its packet and puts it under; a
// faro lays the halves side by side and interleaves them card by card; the
// deck is turned over; Monge's pile grows above and below; down-under puts
// cards down and under in turn. Where motion is to be reduced, a step is a
// pass or a whole interleaving. Where each card goes comes from the core's
// moves; the steps only show the way there.

import { ask, faceUpMask, roundFields } from './core.js';
import { $, canvas, font } from './dom.js';
import {
  cardLabel, cardNumber, draw, facesShown, fitCanvas, followedColor, followedColors, playingCard, rgbaCss,
  setWords,
} from './draw.js';
import { setReady, step, stopPlaying } from './fields.js';
import { settled } from './landscape.js';
import { page, update } from './page.js';
import { paintPiles, pileLayout } from './piles.js';
import { ringCard, roundedRect } from './rows.js';

const reducedMotion = matchMedia('(prefers-reduced-motion: reduce)');

// Whether the deck of the state can be dealt on screen.
export const dealable = () => {
  const { model, facts } = page;
  return model.size > 0 && model.size <= facts.table.max_dealt_cards &&
    (model.routine || model.hands <= facts.table.max_dealt_cards);
};

// The font size of the name of a card dealt, `w` by `h`.
const dealtLetters = (w, h) => Math.max(8, Math.min(14, w * 0.42, h * 0.26));


// On a phone, and presenting, a round is dealt as a table shows it: in
// piles (piles.js).
const phoneWidth = 480;
export const onPhone = () => window.innerWidth <= phoneWidth;

// A deal move's steps: each card from the top to its hand, pass after
// pass, then the hands and the rest gathered from the bottom of the new deck
// up, each in the order of the lowest place its cards take.
function dealMove({ move, size, whole, places, onPosition, name, toNew, add }) {
  const held = new Array(move.hands).fill(0);
  const dealt = move.order.length;
  for (let k = 0; k < dealt; ++k) {
    const p = onPosition[size - 1 - k];
    const hand = move.order[k];
    Object.assign(places[p], { area: 'hand', hand, of: move.hands, slot: held[hand]++ });
    if (!whole || k + 1 === dealt || move.passes[k + 1] !== move.passes[k]) {
      add(whole ? `pass ${move.passes[k] + 1} dealt` : `card ${name(p)} to hand ${hand} (pass ${move.passes[k] + 1})`);
    }
  }
  const groups = new Map();
  for (let x = 0; x < size; ++x) {
    const q = places[onPosition[x]];
    const key = q.area === 'hand' ? `hand ${q.hand}` : 'the rest';
    if (!groups.has(key)) groups.set(key, []);
    groups.get(key).push(x);
  }
  const lowest = (xs) => Math.min(...xs.map((x) => move.goesTo[x]));
  for (const [key, xs] of [...groups.entries()].sort((a, b) => lowest(a[1]) - lowest(b[1]))) {
    xs.forEach(toNew);
    add(`${key}${xs.includes(move.at) && move.chooses ? ', which holds the followed card,' : ''} gathered`);
  }
}

// A cut's steps: its packet lifted, or drawn out from the bottom, and put
// back on the other side.
function cutMove(m) {
  const { move, size, places, onPosition, toNew, add } = m;
  const k = move.cut;
  if (k % size === 0) {
    wholeMove(m);
    return;
  }
  for (let x = 0; x < size; ++x) {
    if (k > 0 ? x >= size - k : x < -k) Object.assign(places[onPosition[x]], { area: 'mid', slot: x + 1, part: 0, named: 'packet' });
  }
  add(k > 0 ? `the top ${k} cards lifted` : `the bottom ${-k} cards drawn out`);
  for (let x = 0; x < size; ++x) toNew(x);
  add(k > 0 ? 'put under the rest' : 'put on top of the rest');
}

// A faro's steps: the halves side by side, then interleaved card by card.
function faroMove({ move, size, whole, places, onPosition, name, toNew, add }) {
  const lower = move.lower;
  for (let x = 0; x < size; ++x) {
    Object.assign(places[onPosition[x]], { area: 'mid', slot: x < lower ? x : x + 2, part: x < lower ? 0 : 1,
      named: x < lower ? 'lower half' : 'upper half' });
  }
  add('cut into two halves, side by side');
  const from = [];
  for (let x = 0; x < size; ++x) from[move.goesTo[x]] = x;
  for (let y = 0; y < size; ++y) {
    toNew(from[y]);
    if (!whole || y + 1 === size) {
      add(whole ? 'the halves interleaved' : `card ${name(onPosition[from[y]])} from the ${from[y] < lower ? 'lower' : 'upper'} half`);
    }
  }
}

// Monge's steps: each card taken from the top onto the pile or under it,
// the pile, as it grows, in the order its cards end in.
function mongeMove({ move, size, whole, places, onPosition, name, add }) {
  const taken = [];
  for (let x = size - 1; x >= 0; --x) {
    const above = taken.every((t) => move.goesTo[t] < move.goesTo[x]);
    taken.push(x);
    const sorted = [...taken].sort((a, b) => move.goesTo[a] - move.goesTo[b]);
    sorted.forEach((t, r) => Object.assign(places[onPosition[t]], { area: 'new', slot: r }));
    if (!whole || x === 0) {
      add(whole ? 'every card above or below the pile'
        : `card ${name(onPosition[x])} ${taken.length === 1 ? 'starts the pile' : above ? 'on top of the pile' : 'under the pile'}`);
    }
  }
}

// A down-under deal's steps: of the cards held, top first, the top one goes
// down onto the table or under the rest, in turn, as the core's steps say.
function downUnderMove({ move, size, whole, places, onPosition, name, toNew, add }) {
  const held = [];
  for (let x = size - 1; x >= 0; --x) held.push(x);
  for (let k = 0; k < move.steps.length; k += 2) {
    const x = held.shift();
    const down = move.steps[k + 1] === 1;
    if (down) toNew(x); else held.push(x);
    held.forEach((h, r) => Object.assign(places[onPosition[h]], { area: 'deck', slot: held.length - 1 - r }));
    if (!whole || !held.length) {
      add(whole ? 'down and under in turn' : `card ${name(onPosition[x])} ${down ? 'down on the table' : 'under the cards held'}`);
    }
  }
}

// Any other move in one step: the deck reversed, riffled or turned over,
// a turn flipping the cards it takes, the top `turned` of the deck.
function wholeMove({ move, size, places, onPosition, toNew, add }) {
  if (move.kind === 'turn') for (let x = size - move.turned; x < size; ++x) places[onPosition[x]].up = !places[onPosition[x]].up;
  for (let x = 0; x < size; ++x) toNew(x);
  add(move.kind === 'reverse' ? 'the order reversed, card by card'
    : move.kind === 'riffle' ? 'riffled: cut, and the two packets dropped together'
    : move.kind === 'turn' ? (move.turned === size ? 'the deck turned over' : `the top ${move.turned} cards turned over`)
      : 'the deck as it was');
}

const moveSteps = { deal: dealMove, cut: cutMove, 'cut random': cutMove, 'faro out': faroMove, 'faro in': faroMove,
  monge: mongeMove, 'down-under': downUnderMove, 'under-down': downUnderMove };
// What the row between the deck and the new deck holds while a move is made.
const moveMids = { deal: 'the hands, hand 0 on the left, each card below the one before', cut: 'the packet lifted',
  'faro out': 'the lower half (left) and the upper half (right)', 'faro in': 'the lower half (left) and the upper half (right)' };

// The places of the cards at every step: steps[s][i] is the place of the
// card that starts the round at position i, {card, area, slot, hand, of,
// part, named, up}: area 'deck' (the top row), 'hand' (hand `hand` of `of`),
// 'mid' (a row between, slot of size + 2, in packet `part` that is `named`)
// or 'new' (the bottom row); up where the card lies face up. Each step has
// its words, the row between's words and the move whose deck the top row
// holds.
function dealSteps() {
  const { model, state } = page;
  // The moves of the round as the core plays them on the deck shown, each
  // where the followed card is before it. A plain deal is one deal move.
  const plan = ask('explorer_plan', roundFields(state), false, model);
  // The cards' numbers, and which lie face up as the round starts.
  const deck = Array.from(plan.deck, (card) => card & faceUpMask);
  const places = deck.map((card, p) => ({ card, area: 'deck', slot: p, up: (plan.deck[p] & ~faceUpMask) !== 0 }));
  const steps = [places.map((q) => ({ ...q }))];
  const labels = ['the deck of this round'];
  const mids = [''];
  const tops = [0];
  const count = plan.moves.length;
  let pos = deck.map((_, p) => p); // where each card is before the move
  plan.moves.forEach((move, i) => {
    const prefix = count > 1 ? `move ${i + 1} of ${count}, ${move.text}: ` : model.routine ? `${move.text}: ` : '';
    const add = (label) => {
      steps.push(places.map((q) => ({ ...q })));
      labels.push(prefix + label);
      mids.push(moveMids[move.kind] || '');
      tops.push(i);
    };
    if (i > 0) {
      for (const [p, q] of places.entries()) Object.assign(q, { area: 'deck', slot: pos[p] });
      add('the new deck taken up');
    }
    const onPosition = []; // the card at each position
    pos.forEach((x, p) => { onPosition[x] = p; });
    (moveSteps[move.kind] || wholeMove)({
      move, size: model.size, whole: reducedMotion.matches, places, onPosition, add,
      name: (p) => cardLabel(places[p].card),
      toNew: (x) => Object.assign(places[onPosition[x]], { area: 'new', slot: move.goesTo[x] }),
    });
    pos = pos.map((x) => move.goesTo[x]);
  });
  return { steps, labels, mids, tops, moves: plan.moves.map((m) => m.text) };
}

// What the layout of a round dealt takes from its steps, worked out once:
// the most cards a hand holds, the most hands a deal deals into, the most
// packets a move lifts, and whether no step has cards both in the deck and
// in the new deck, as in a deal that deals every card, so that the two may
// take the same place.
function dealShape(steps) {
  let most = 1, hands = 0, shared = true, parts = 0;
  for (const places of steps) {
    const held = new Map();
    for (const q of places) {
      if (q.area === 'hand') {
        held.set(q.hand, (held.get(q.hand) || 0) + 1);
        hands = Math.max(hands, q.of);
      }
      if (q.area === 'mid') parts = Math.max(parts, q.part + 1);
    }
    most = Math.max(most, ...held.values());
    shared = shared && !(places.some((q) => q.area === 'deck') && places.some((q) => q.area === 'new'));
  }
  return { size: page.model.size, most, hands, shared, parts };
}

// Where a place is on the canvas: the deck along the top, the hands side by
// side below it, each card a little lower than the one before so that its
// face shows, or a row of cards between; the new deck along the bottom.
// Cards are as large as the width and the height both allow.
function dealLayout(b, shape) {
  const { size, most } = shape;
  const left = 16, right = 16;
  const width = b.width - left - right;
  const overlap = 0.55;
  if (onPhone() || page.presenting) return pileLayout(b, shape);
  // The height, in card heights: a row for the deck and one for the new
  // deck, a hand's cards each 0.55 of one below the last, and 110 pixels of
  // labels and gaps.
  const tall = Math.min(60, (b.height - 110) / (2 + 1 + overlap * (most - 1)));
  const cell = Math.min(48, width / size);
  const h = Math.max(12, Math.min(cell * 1.3, tall));
  const card = { w: Math.max(6, Math.min(cell * 0.86, h / 1.3)), h };
  const deckY = 26 + card.h / 2, newY = b.height - card.h / 2 - 10;
  const handsTop = deckY + card.h / 2 + 34;
  const fanned = card.h * overlap;
  return {
    left, width, card, deckY, newY, handsTop, labels: { size: 12, top: 12, mid: 14, new: 12 },
    at(place) {
      if (place.area === 'deck' || place.area === 'new') {
        return { x: left + (place.slot + 0.5) * (width / size), y: place.area === 'deck' ? deckY : newY };
      }
      if (place.area === 'mid') {
        return { x: left + (place.slot + 0.5) * (width / (size + 2)), y: handsTop + card.h / 2 };
      }
      return { x: left + (place.hand + 0.5) * (width / place.of), y: handsTop + card.h / 2 + place.slot * fanned };
    },
  };
}

// A label whose last line is at `y`.
function fillLabel(layout, text, y, drawn) {
  page.ctx.fillText(text, layout.left, y);
  drawn.labels.push([page.ctx.measureText(text).width - layout.width, text]);
}

export function startDealing() {
  const { state, model } = page;
  if (page.dealing || !dealable() || state.view !== 'rows') return;
  stopPlaying();
  const { steps, labels, mids, tops, moves } = dealSteps();
  const shape = dealShape(steps);
  update({ dealing: { steps, labels, mids, tops, moves, shape, step: 0, from: 0, started: performance.now(), playing: true, frames: [] } });
  setReady(false);
  $('deal-round').textContent = 'Finish';
  $('deal-round').setAttribute('aria-pressed', 'true');
  $('caption').textContent = model.routine
    ? `Playing round ${state.round} move by move, ${model.rules}; the new deck at the bottom ` +
      `becomes the deck of round ${state.round + 1n}. Finish (or D) plays the rest at once.`
    : `Dealing round ${state.round}: the cards leave the top of the deck one ` +
      'at a time into the hands, pass after pass; then the hands are gathered, in order, into the ' +
      `deck of round ${state.round + 1n}. Finish (or D) deals the rest at once.`;
  canvas.setAttribute('aria-label', model.routine ? `Round ${state.round} being played, ${model.rules}.`
    : `Round ${state.round} being dealt into ${model.hands} hands.`);
  dealFrame();
}

// Milliseconds a step takes, by the speed chosen.
const stepTime = () => (reducedMotion.matches ? 900 : 520) * 0.72 ** (Number($('speed').value) - 1);

// The round being dealt, changed as update() changes everything.
const dealt = (changes) => update({ dealing: { ...page.dealing, ...changes } });

function dealFrame() {
  if (!page.dealing) return;
  const now = performance.now();
  const duration = stepTime();
  let d = page.dealing;
  let t = reducedMotion.matches ? 1 : Math.min(1, (now - d.started) / duration);
  if (d.playing && now - d.started >= duration) {
    if (d.step + 1 >= d.steps.length) { finishDealing(); return; }
    dealt({ from: d.step, step: d.step + 1, started: now });
    t = reducedMotion.matches ? 1 : 0;
  }
  paintDeal(t);
  d = page.dealing;
  const frames = d.lastFrame !== undefined ? [...d.frames, now - d.lastFrame] : d.frames;
  // Paused with every card in place, nothing moves: no frame is asked for
  // until a key moves it on.
  const idle = !d.playing && t >= 1;
  dealt({ frames, idle, lastFrame: idle ? undefined : now });
  if (!idle) requestAnimationFrame(dealFrame);
}

export function wake() {
  if (page.dealing && page.dealing.idle) {
    dealt({ idle: false });
    requestAnimationFrame(dealFrame);
  }
}

// Eases a card from its place at the step before to its place now.
export function paintDeal(t) {
  const { dealing: d, state, model } = page;
  const b = fitCanvas(false);
  const layout = dealLayout(b, d.shape);
  page.ctx.setTransform(b.ratio, 0, 0, b.ratio, 0, 0);
  page.ctx.clearRect(0, 0, b.width, b.height);
  // Where each card was drawn, and how wide each label, beyond its room.
  const drawn = { places: new Map(), labels: [] };
  const ease = (x) => (x < 0.5 ? 2 * x * x : 1 - (-2 * x + 2) ** 2 / 2);
  if (layout.piles) paintPiles(layout, d.steps[d.from], d.steps[d.step], t, ease(t), drawn);
  else paintLaidOut(layout, d, ease(t), drawn);
  update({ dealtDrawn: drawn });
  const said = `${model.routine ? 'Playing' : 'Dealing'} round ${state.round}, step ${d.step} of ${d.steps.length - 1}: ` +
    `${d.labels[d.step]}. Right steps, Space ${d.playing ? 'pauses' : 'plays'}, Escape stops.`;
  if ($('info').textContent !== said) setWords($('info'), said);
}

// Every card of the round laid out, the deck and the new deck in a row, the
// hands below, each card's face showing.
function paintLaidOut(layout, d, e, drawn) {
  const { state, model, theme } = page;
  page.ctx.font = font(layout.labels.size);
  page.ctx.textAlign = 'left';
  page.ctx.textBaseline = 'middle';
  page.ctx.fillStyle = theme.muted;
  // In a routine of several moves, the top row holds the deck before the
  // move being made, the moves before it done.
  const top = d.tops[d.step];
  const holds = d.moves.length > 1 ? `Round ${state.round}, ${top ? `after ${top === 1 ? 'move 1' : `moves 1 to ${top}`}, ` : ''}` +
    `before move ${top + 1} (${d.moves[top]})` : `Round ${state.round}`;
  const newLabel = model.routine ? 'The new deck, bottom (left) to top'
    : `Round ${state.round + 1n}: the hands gathered, bottom (left) to top`;
  fillLabel(layout, `${holds}: the deck, bottom (left) to top (right)${model.routine ? '' : '; cards are dealt from the top'}`, layout.labels.top, drawn);
  const mid = d.mids[d.step];
  if (mid) fillLabel(layout, mid[0].toUpperCase() + mid.slice(1), layout.handsTop - layout.labels.mid, drawn);
  fillLabel(layout, newLabel, layout.newY - layout.card.h / 2 - layout.labels.new, drawn);
  const before = d.steps[d.from], now = d.steps[d.step];
  const colors = model.colors[state.color];
  // A pile from its first card to its last, each over the one before, so
  // that every face shows; cards on the move last, over everything.
  // The cards followed stand out as they do in the rows: ringed in their
  // colors, and over the others.
  const followed = followedColors();
  const rank = (p) => (followed.has(now[p].card) ? 2e6 : 0) + (moved(before[p], now[p]) ? 1e6 : 0) +
    (now[p].area === 'hand' ? now[p].slot : 0);
  const order = [...now.keys()].sort((a, b) => rank(a) - rank(b));
  const letters = dealtLetters(layout.card.w, layout.card.h);
  for (const p of order) {
    const a = layout.at(before[p]), z = layout.at(now[p]);
    const x = a.x + (z.x - a.x) * e, y = a.y + (z.y - a.y) * e;
    const ring = followed.has(now[p].card) ? followedColor(followed.get(now[p].card)) : null;
    paintDealtCard(now[p].card, x, y, layout.card, colors[now[p].card], now[p].up, ring, letters);
    drawn.places.set(now[p].card, { x, y, w: layout.card.w, h: layout.card.h, letters });
  }
}

const moved = (a, b) => a.area !== b.area || a.slot !== b.slot;

// A card face up is dark with its name light, as in the rows; its name
// `letters` pixels high, a face's rank above its suit where `tall`.
export function paintDealtCard(card, x, y, shape, color, up, ring, letters, tall = false) {
  const theme = page.theme;
  const w = shape.w, h = shape.h;
  if (ring !== null) ringCard(x, y, w, h, rgbaCss(ring), 4);
  page.ctx.beginPath();
  roundedRect(x - w / 2, y - h / 2, w, h, Math.max(2, w * 0.12));
  page.ctx.fillStyle = up ? '#1c1b22' : theme.dark ? '#f2f0ea' : '#ffffff';
  page.ctx.fill();
  page.ctx.lineWidth = 1.5;
  page.ctx.strokeStyle = rgbaCss(color);
  page.ctx.stroke();
  page.ctx.fillStyle = rgbaCss(color);
  const band = Math.max(3, h * 0.14);
  page.ctx.fillRect(x - w / 2 + 1, y - h / 2 + 1, w - 2, band);
  // The face near the card's top, where it shows in a fanned pile.
  const face = facesShown() ? playingCard(card) : { text: String(cardNumber(card)), red: false };
  page.ctx.textAlign = 'center';
  page.ctx.textBaseline = 'middle';
  page.ctx.fillStyle = up ? (face.red ? '#ff8a8f' : '#ffffff') : face.red ? '#c0262d' : '#1c1b22';
  const size = letters;
  page.ctx.font = font(size);
  if (tall && facesShown()) {
    page.ctx.fillText(face.text.slice(0, -1), x, y - h / 2 + band + size * 0.7);
    page.ctx.fillText(face.text.slice(-1), x, y - h / 2 + band + size * 1.75);
    return;
  }
  page.ctx.fillText(face.text, x, y - h / 2 + band + size * 0.7);
}

// One step on, the move before it done.
export function dealStep() {
  const d = page.dealing;
  dealt({ playing: false });
  if (d.step + 1 >= d.steps.length) { finishDealing(); return; }
  dealt({ from: d.step, step: d.step + 1, started: performance.now() - stepTime() });
  wake();
}

export function toggleDealing() {
  dealt({ playing: !page.dealing.playing, started: performance.now() });
  wake();
}

// The new deck is the next round: the address follows.
export function finishDealing() {
  const frames = page.dealing.frames;
  endDealing();
  update({ dealtFrames: frames });
  step(1, 'push');
}

export function stopDealing() {
  if (!page.dealing) return;
  endDealing();
  draw();
  setReady(settled());
}

function endDealing() {
  update({ dealing: null });
  $('deal-round').innerHTML = 'Deal<span class="wide"> this round</span>';
  $('deal-round').setAttribute('aria-pressed', 'false');
}
