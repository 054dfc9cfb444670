// What every view shares: the canvas and its size, the page's colors, the
// card that is followed, and the caption and text alternative that say in
// words what the picture shows.

import { faceUpMask } from './core.js';
import { $, canvas, font, screenContext } from './dom.js';
import { explainPlaying } from './fields.js';
import { layoutMap, mapHeight, paintMap } from './map.js';
import { page, update } from './page.js';
import { layoutDeck, paintDeck, roomLetters, rowsLetters } from './presenting.js';
import { cursorWords, layoutRows, paintRows, positionOf } from './rows.js';

// The page's colors, read once a drawing rather than once a use: reading a
// style makes the browser bring every style up to date.
function readTheme() {
  const style = getComputedStyle(document.documentElement);
  const get = (name) => style.getPropertyValue(name).trim();
  const theme = {
    canvas: get('--canvas'), ink: get('--ink'), muted: get('--muted'), line: get('--line'),
    mark: get('--mark'), dark: matchMedia('(prefers-color-scheme: dark)').matches,
  };
  update({ theme: { ...theme, canvasColor: cssColor(theme.canvas) } });
}

export const rgbaCss = (color, alpha = 1) =>
  `rgba(${color & 255},${(color >>> 8) & 255},${(color >>> 16) & 255},${alpha})`;
export const luminance = (color) =>
  0.3 * (color & 255) + 0.59 * ((color >>> 8) & 255) + 0.11 * ((color >>> 16) & 255);

// WCAG's contrast of two colors, from 1 to 21: a dot stands out from the
// canvas where it reaches 3.
function relativeLuminance(color) {
  const linear = (shift) => {
    const c = ((color >>> shift) & 255) / 255;
    return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
  };
  return 0.2126 * linear(0) + 0.7152 * linear(8) + 0.0722 * linear(16);
}
export function contrast(a, b) {
  const [x, y] = [relativeLuminance(a), relativeLuminance(b)].sort((m, n) => n - m);
  return (x + 0.05) / (y + 0.05);
}
// A CSS color "#rrggbb" as the colors the core gives are kept.
export const cssColor = (hex) => {
  const n = parseInt(hex.slice(1), 16);
  return (((n >> 16) & 255) | (n & 0xff00) | ((n & 255) << 16) | (0xff << 24)) >>> 0;
};
// The outline that makes a dot of `color` stand out where its fill alone
// does not (a dark card on the dark canvas, a pale one on the light): the
// muted ink, or null.
export function outlineOf(color) {
  return contrast(color, page.theme.canvasColor) >= 3 ? null : page.theme.muted;
}

// A color most of the way to the canvas's: for what is not followed.
export function fade(color) {
  const toward = page.theme.dark ? 16 : 255;
  const mix = (shift) => Math.round(((color >>> shift) & 255) * 0.2 + toward * 0.8);
  return (mix(0) | (mix(8) << 8) | (mix(16) << 16) | (0xff << 24)) >>> 0;
}

export const focusCard = () => (page.hover !== null ? page.hover : page.state.card);
// The card pointed at or followed and its cycle; -1 for the cycle when
// none is, or it has none.
export function focused() {
  const card = focusCard();
  // A chosen pile makes each round its own: no cycle of the round is the
  // card's.
  return { focus: card, focusCycle: card === null || page.trick ? -1 : page.model.cycleOf[card] };
}
export const followedColor = (i = 0) => page.model.colors.followed[i];
// The other cards followed, beside the first, each with the index of its
// color.
export const alsoFollowed = () => page.state.more.map((card, i) => ({ card, color: i + 1 }));
// Every card followed, by the index of its color.
export const followedColors = () => new Map([page.state.card, ...page.state.more].map((card, i) => [card, i]));

// ---- playing cards ----------------------------------------------------------

// A deck of up to 52 cards as the cards of a new deck, face down, named as
// the programs name them: the core's names, read once.
// The card that starts at position `card`: its name on a pack, and its
// number.
export function playingCard(card) {
  const text = page.model.names[card];
  return { text, red: /[♦♥]/.test(text) };
}
// A pack's cards are named as playing cards where asked, in words, the
// listing, the hands and a round dealt; the rows draw faces where they have
// a dozen pixels a card across the picture, beside the labels, and dots
// else.
export const facesShown = () => page.state.faces && page.model.size <= page.facts.table.max_playing_cards;
export const facesInRows = () => facesShown() && (!page.box || page.box.width - 70 >= 12 * page.model.size);
// A card as the page names it in words: its number, and its face if shown.
export const cardNumber = (card) => page.model.numbers[card] & faceUpMask;
export const cardName = (card) => (facesShown() ? `${cardNumber(card)} (${playingCard(card).text})` : String(cardNumber(card)));
// A card as a field or a card drawn shows it: its face, or its number.
export const cardLabel = (card) => (facesShown() ? playingCard(card).text : String(cardNumber(card)));
// A position, counted from the bottom as the programs count, and from the
// top as a magician counts: "position 40, 12th from the top".
// Counted from the top, the place comes first.
export const ordinal = (n) => `${n}${n % 100 >= 11 && n % 100 <= 13 ? 'th' : ['th', 'st', 'nd', 'rd'][n % 10] || 'th'}`;
export function positionWords(p) {
  const n = page.model.size - p;
  const place = n === 1 ? 'the top card' : `${ordinal(n)} from the top`;
  return page.state.fromTop ? `${place} (position ${p})` : `position ${p}, ${place}`;
}

// Where the card at position `p` goes in one round, counted as the page counts.
const goesToWords = (p) => (page.state.fromTop ? positionWords(page.model.goesTo[p]) : String(page.model.goesTo[p]));

// A plot's axes: its numbers small and muted, right-aligned to their ticks,
// its lines thin.
export function axesStyle(c) {
  c.font = font(11);
  c.fillStyle = page.theme.muted;
  c.strokeStyle = page.theme.line;
  c.lineWidth = 1;
  c.textAlign = 'right';
  c.textBaseline = 'middle';
}

// A plot under the view: as wide as its box, `share` of that high within
// [least, most] pixels, at the screen's pixel ratio, cleared; its size in CSS
// pixels.
export function fitPlot(plot, context, least, most, share) {
  const ratio = window.devicePixelRatio || 1;
  const width = plot.clientWidth;
  const height = Math.round(Math.min(most, Math.max(least, width * share)));
  plot.style.height = `${height}px`;
  if (plot.width !== Math.round(width * ratio) || plot.height !== Math.round(height * ratio)) {
    plot.width = Math.round(width * ratio);
    plot.height = Math.round(height * ratio);
  }
  context.setTransform(ratio, 0, 0, ratio, 0, 0);
  context.clearRect(0, 0, width, height);
  return { width, height };
}

// ---- the canvas -------------------------------------------------------------

// Sizes the canvas to the room below its top, in device pixels, and returns
// its box: tall enough for `wanted` CSS pixels where a view knows what it
// needs, and never taller than the window, so that the caption under it
// stays in view. Measuring makes the browser lay the page out, so it is done
// only when asked; a canvas whose size is set anew starts blank and costs a
// new bitmap, so that happens only when the box has changed.
export function fitCanvas(measure, wanted = null, atLeast = 0) {
  const box = page.box;
  if (box && !measure && wanted === box.wanted && atLeast === box.atLeast) return box;
  const rect = canvas.getBoundingClientRect();
  const top = rect.top + window.scrollY;
  // The caption and the words under the picture, two lines each, and a
  // margin; presenting, the words alone, as many lines as they take, so
  // that they stay in the window.
  const below = page.presenting ? $('info').offsetHeight + 16 : 108;
  const room = window.innerHeight - below - (top < window.innerHeight / 2 ? top : 0);
  let height = Math.round(Math.max(240, Math.min(room, page.presenting ? 4000 : 1400)));
  if (wanted !== null) height = Math.round(Math.max(160, Math.min(height, wanted)));
  // A view taller than the window, where it must be, scrolls with the page.
  height = Math.max(height, atLeast);
  canvas.style.height = `${height}px`;
  const width = canvas.clientWidth;
  const ratio = window.devicePixelRatio || 1;
  if (!box || box.width !== width || box.height !== height || box.ratio !== ratio) {
    canvas.width = Math.round(width * ratio);
    canvas.height = Math.round(height * ratio);
  }
  update({ box: { width, height, ratio, wanted, atLeast } });
  return page.box;
}

// Lays out the view that the state asks for, and draws it.
export function draw(measure = false) {
  readTheme();
  let b = fitCanvas(measure);
  // Whether faces fit is known once the canvas is measured; the listing and
  // the hands name the cards as the picture does.
  explainPlaying();
  if (page.state.view === 'map') {
    // The map is square: the canvas is no taller than it needs to be.
    b = fitCanvas(false, mapHeight(b));
    update({ view: layoutMap(b) });
  } else {
    const rows = layoutRows(b);
    // Presenting a pack whose faces the rows draw too small for a room: the
    // deck alone, the rows a key (R) away.
    update({ view: page.presenting && !page.presentRows && facesShown() && rowsLetters(rows) < roomLetters ? layoutDeck(b) : rows });
  }
  paint();
}

// Draws the current view, with the card pointed at or followed, if any.
export function paint() {
  const view = page.view;
  const b = view.box;
  page.ctx.setTransform(b.ratio, 0, 0, b.ratio, 0, 0);
  // The canvas's own background shows through: clearing costs less than
  // painting, and a saved picture gets the background put under it.
  page.ctx.clearRect(0, 0, b.width, b.height);
  if (view.kind === 'map') paintMap(view); else if (view.kind === 'deck') paintDeck(view); else paintRows(view);
  if (page.ctx === screenContext) describe();
}

// ---- words ------------------------------------------------------------------

// The deal in a few words, for captions and titles: "4 hands, 20 cards" and
// the rules where they are not deal's own.
export function dealWords() {
  const model = page.model;
  const cards = `${model.size} card${model.size === 1 ? '' : 's'}`;
  if (model.routine) return `${cards}, ${model.rules}`;
  const hands = `${model.hands} hand${model.hands === 1 ? '' : 's'}, ${cards}`;
  return model.rules ? `${hands}, ${model.rules}` : hands;
}

// Says what the picture shows and what is followed, in the caption, the
// line under the picture and the canvas's text alternative. What is said of
// a followed card comes from the rows drawn, or, on the map, from the round
// they are drawn with: where it is, its cycle where it has one, its places
// repeating where a chosen pile follows it, its chances where moves are
// drawn by chance.
export function describe() {
  const { view, model, state } = page;
  if (view.kind === 'deck') {
    canvas.setAttribute('aria-label', `The deck at round ${state.round}: ${dealWords()}, read from its top card.`);
  } else if (view.kind === 'rows') {
    const last = state.round + BigInt(view.rows - 1);
    const returns = view.returns.length
      ? ` The deck is back in its starting order at round ${view.returns.map((r) => (state.round + BigInt(r)).toString()).join(', ')}.`
      : '';
    canvas.setAttribute('aria-label', `Rows: ${dealWords()}, rounds ${state.round} to ${last}` +
      `${model.chance || page.trick ? '' : `, period ${model.period}`}.${returns}`);
  } else {
    canvas.setAttribute('aria-label', `Map of one round: ${dealWords()}, period ${model.period}.`);
  }
  const info = $('info');
  const said = [];
  if (page.notice) said.push(page.notice);
  if (page.cursor) {
    said.push(`Picking a card: the arrows move, Enter follows, Escape stops. ${cursorWords()}`);
  } else if (state.card === null) {
    said.push('Click or tap a card to follow it, or press F to pick one by keyboard' +
      `${model.follows ? ': the routine gathers its pile where it says' : ''}.`);
  } else {
    said.push(followedWords(state.card));
  }
  setWords(info, said.join(' '));
  // Each other card followed, in its color, where it is.
  const also = page.cursor ? [] : alsoFollowed();
  if (also.length) info.append(' Also followed:');
  also.forEach((f, i) => {
    const mark = document.createElement('span');
    mark.textContent = ' ■';
    mark.style.color = rgbaCss(followedColor(f.color));
    mark.setAttribute('aria-hidden', 'true');
    const where = view.kind !== 'map' ? `is at ${positionWords(positionOf(0, f.card))}`
      : `goes from ${positionWords(f.card)} to ${goesToWords(f.card)} in one round`;
    info.append(mark, ` card ${cardName(f.card)} ${where}${i + 1 < also.length ? ';' : '.'}`);
  });
  // The card pointed at, which a click follows; where it is followed, its
  // chance there.
  if (!page.cursor && page.hover !== null) info.append(followedColors().has(page.hover) ? chanceWords(page.hoverAt) : ` ${pointedWords()}`);
}

// Where the followed card `card` is, and how it goes on.
function followedWords(card) {
  const { view, model, state, rows } = page;
  const name = `Card ${cardName(card)}`;
  if (view.kind === 'map') {
    const gathered = model.follows ? ', every pile gathered in its order' : '';
    return `${name} goes from ${positionWords(card)}, to ${goesToWords(card)} in one round${gathered}; ${cycleWords(card)}`;
  }
  const where = `${name} is at ${positionWords(positionOf(0, card))}, in round ${state.round}`;
  if (model.chance) {
    return `${where}, drawn from seed ${state.seed}: with moves by chance it has no cycle, and ` +
      (rows.chances ? 'the shading says where it may be, by its chance over every seed.' : 'deal-after --chances says where it may be.');
  }
  if (page.trick) {
    const { tail, length } = rows;
    return `${where}; its pile is gathered where the routine says, and ` +
      (length === 1 ? `from round ${tail} on it stays there.` : `from round ${tail} on its places repeat every ${length} rounds.`);
  }
  return `${where}; ${cycleWords(card)}`;
}

// The cycle of the card that starts at `card`, as the round moves it.
function cycleWords(card) {
  const model = page.model;
  const length = model.cycleLength[card];
  if (length === 1) return 'it never moves (a cycle of length 1).';
  const positions = [];
  for (let p = card, i = 0; i < Math.min(length, 16); ++i, p = model.goesTo[p]) positions.push(p);
  const route = `${positions.join(' → ')}${length > 16 ? ' → …' : ` → ${card}`}`;
  return `its cycle has length ${length} (cycle ${model.cycleOf[card] + 1} of ${model.cycles}), from round 0: ${route}.`;
}

// The card pointed at, which a click follows; with chances shaded, the
// chance that the followed card is at the place pointed at.
function pointedWords() {
  const { view, state } = page;
  const at = page.hoverAt;
  const card = page.hover;
  const where = view.kind === 'map' ? `at ${positionWords(card)} before the round`
    : `at ${positionWords(at[1])} in round ${state.round + BigInt(at[0])}`;
  return `Pointing at card ${cardName(card)}, ${where}: a click follows it.${chanceWords(at)}`;
}

// The followed card's chance of being at `at`, [row, position], where
// chances are shaded.
export function chanceWords(at) {
  const { rows, model, state, view } = page;
  if (!rows.chances || state.card === null || !at || view.kind !== 'rows') return '';
  const p = rows.chances[at[0] * model.size + at[1]];
  return ` Card ${cardName(state.card)} is there in round ${state.round + BigInt(at[0])} with chance ${chanceText(p)}, over every seed.`;
}

// A chance as the page writes it: three digits, which a float holds
// within a unit of the last.
const chanceText = (p) => (p <= 0 ? '0' : p >= 1 ? '1' : `about ${p.toPrecision(3)}`);

// Text set as words that no line breaks inside: a browser breaks after a
// hyphen, and an option such as --chosen-pile or a move such as down-under
// reads, and copies, whole.
export function setWords(element, text) {
  element.replaceChildren(...text.split(/(\S*-[a-z]\S*)/i).map((part, i) => {
    if (i % 2 === 0) return part;
    const word = document.createElement('span');
    word.className = 'whole';
    word.textContent = part;
    return word;
  }));
}
