// The rows view: the deck at the round shown and the rounds after it, one
// row each from the top down, each row from the bottom card of the deck on
// the left to the top card on the right. Small decks show a dot for each
// card and each card's way as a line, as deal-picture draws them; wide decks
// show cells.

import { ask, faceUpMask, roundFields, withCells } from './core.js';
import { $, font, screenContext } from './dom.js';
import {
  alsoFollowed, cardName, cardNumber, chanceWords, facesInRows, facesShown, fade, focusCard, focused,
  followedColor, followedColors, luminance, outlineOf, playingCard, positionWords, rgbaCss, setWords,
} from './draw.js';
import { setFault, ui } from './fields.js';
import { page, update } from './page.js';

export const labelFont = font(12);
// The fewest pixels between rows for which a small deck's whole period,
// return included, is shown at once; playing cards need room for their faces.
// Presenting, faces are large enough to read across a room: their names
// at least 14 pixels high, rank above suit.
const leastPeriodPitch = () => (facesInRows() ? (page.presenting ? 40 : 18) : 9);

// The label of each row: its round number whole, where the numbers fit in a
// margin of at most two fifths of the width; else K, K+1, ... with K written
// whole in the caption.
function rowLabels(rows, width) {
  const state = page.state;
  page.ctx.font = labelFont;
  const last = (state.round + BigInt(rows - 1)).toString();
  const first = state.round.toString();
  const widest = Math.max(page.ctx.measureText(first).width, page.ctx.measureText(last).width);
  const most = Math.max(60, width * 0.4);
  if (widest + 22 <= most) {
    return { absolute: true, left: Math.max(width < 480 ? 40 : 56, Math.ceil(widest) + 22),
      label: (row) => (state.round + BigInt(row)).toString() };
  }
  const relative = page.ctx.measureText(`K+${rows - 1}`).width;
  return { absolute: false, left: Math.ceil(relative) + 22,
    label: (row) => (row === 0 ? 'K' : `K+${row}`) };
}

export function layoutRows(b) {
  const { model, state, facts } = page;
  const table = facts.table;
  const size = model.size;
  const right = 10, top = 22, bottom = 8;
  const lines = size <= table.max_line_cards;
  // The labels' margin depends on the rows, and the rows on the room: a
  // first guess at the margin, then the real one.
  let labels = rowLabels(2, b.width);
  let pitch, rowPitch, rows;
  const fit = () => {
    const plotWidth = b.width - labels.left - right;
    const plotHeight = b.height - top - bottom;
    if (lines) {
      pitch = plotWidth / size;
      rowPitch = facesInRows() && page.presenting ? Math.min(Math.max(pitch * 1.75, 40), 120)
        : Math.min(Math.max(pitch * (facesInRows() ? 1.1 : 0.75), 16), 36);
      // A small deck shows its whole period, return included, where it fits.
      const whole = model.smallPeriod + 1;
      if (model.smallPeriod && whole * rowPitch > plotHeight && whole * leastPeriodPitch() <= plotHeight) {
        rowPitch = plotHeight / whole;
      }
    } else {
      // Whole device pixels a cell where the deck is narrower than the
      // screen, so that cells stay crisp; a wide deck is scaled down.
      const devicePitch = Math.floor((plotWidth * b.ratio) / size);
      pitch = devicePitch >= 1 ? devicePitch / b.ratio : plotWidth / size;
      rowPitch = Math.min(Math.max(pitch, 2), 16);
    }
    rows = Math.max(2, Math.min(Math.floor(plotHeight / rowPitch + 1e-9), table.max_page_rows, 200));
  };
  fit();
  labels = rowLabels(rows, b.width);
  fit();
  const left = labels.left;
  const answer = askRows(rows);
  const deck = answer.rows;
  // Rounds drawn by chance end where deal-after ends them.
  if (size) rows = deck.length / size;
  // Where the round depends on a followed card or on chance, the core says
  // which rows are in the starting order; else they come a period apart.
  const returns = answer.returns ? Array.from(answer.returns) : [];
  if (!answer.returns && answer.firstReturn >= 0) {
    const step = model.smallPeriod || Infinity;
    for (let r = answer.firstReturn; r < rows; r += step) returns.push(r);
  }
  showTexts();
  const shaded = model.chance && state.card !== null && Boolean(answer.chances);
  const chances = !model.chance || state.card === null ? ''
    : shaded ? ', each place shaded by the chance that the followed card is there, on the scale below'
      : '; too many riffles of too large a deck to shade where the followed card may be';
  const ticks = state.card !== null && !model.chance && !answer.trick
    ? '; the ticks above the top row mark its cycle\'s positions' : '';
  setWords($('caption'), `Rows: ${labels.absolute ? `round ${state.round}` : `round K = ${state.round}`} ` +
    'at the top, one round more each row down; each row is the deck from its bottom card (left) ' +
    `to its top card (right), each card colored by ${state.color === 'cycle' ? 'its cycle (legend beside)' : 'its starting position'}` +
    `${returns.length ? '; ▶ marks the starting order' : ''}` +
    `${model.chance ? `; each round drawn from seed ${state.seed}` : ''}${chances}${ticks}.`);
  showChanceScale(shaded);
  return {
    kind: 'rows', box: b, left, top, pitch, rowPitch, rows, lines, stride: size, deck, returns, labels,
    x: (position) => left + (position + 0.5) * pitch,
    y: (row) => top + (row + 0.5) * rowPitch,
    // A card, by where it starts, without the bit that says it lies face up;
    // and whether it does.
    card: (row, position) => deck[row * size + position] & faceUpMask,
    up: (row, position) => (deck[row * size + position] & ~faceUpMask) !== 0,
  };
}

// The deck at the round shown and `count` rounds after it, kept until the
// next rows replace them; with their listing, hands and the trick's way.
export function askRows(count) {
  const fields = (state) => ({ ...roundFields(state), faces: facesShown() ? 1 : 0, count });
  let answer = ask('explorer_rows', fields(page.state), true, page.model);
  if (answer.round) {
    // Too long a round, or, following a card through a chosen pile, one
    // before 0: said beside its field, and round 0 shown instead.
    answer.release();
    setFault(ui.round, `Round: ${answer.round}.`);
    const state = { ...page.state, round: 0n };
    update({ state, shown: state });
    answer = ask('explorer_rows', fields(state), true, page.model);
  }
  if (page.rows) page.rows.release();
  update({ rows: answer, trick: answer.trick });
  return answer;
}

// The listing, the hands this deck deals, and the other words of the round.
export function showTexts() {
  const { model, rows } = page;
  $('listing').textContent = rows.listing;
  $('dealt').textContent = model.routine && model.deals === 0 ? 'This routine deals no hands.' : rows.hands;
  // With a chosen pile and a card followed, the rows are the trick's: the
  // period of the routine with every pile gathered in its order is not theirs.
  if (model.follows && !model.chance) {
    const { trick, length, tail } = rows;
    $('period').textContent = trick ? '—' : model.period;
    $('period-unit').textContent = trick ? '' : model.period === '1' ? 'round' : 'rounds';
    setWords($('facts-note'), trick
      ? `With a chosen pile each round depends on where the followed card is: its places repeat every ${length} ` +
        `round${length === 1 ? '' : 's'}${tail ? ` from round ${tail}` : ''}, and the deck need not come back. ` +
        'The cycles here are the routine\'s with every pile gathered in its order.'
      : 'With a chosen pile each round depends on where the followed card is: these facts are the routine\'s ' +
        'with every pile gathered in its order.');
  }
}

// Where `card` is in row `row`.
export function positionOf(row, card) {
  const { view, model } = page;
  const base = row * view.stride;
  for (let p = 0; p < model.size; ++p) if ((view.deck[base + p] & faceUpMask) === card) return p;
  return -1;
}

// Where `card` is in each row shown.
function wayOf(card) {
  const view = page.view;
  const way = new Int32Array(view.rows);
  for (let row = 0; row < view.rows; ++row) way[row] = positionOf(row, card);
  return way;
}

// The shade of a place by the chance that the followed card is there, on
// one scale for every row: a decade of chance a step darker, from 10^-4,
// the faintest, to certainty; a place it cannot be at is left clear.
const chanceDecades = 4;
const chanceAlpha = (p) => (p > 0 ? 0.06 + 0.84 * Math.max(0, Math.min(1, 1 + Math.log10(p) / chanceDecades)) : 0);

// Where the followed card may be, with moves by chance: each place of each
// row shaded by the chance that the card is there.
function paintChances(v) {
  const chances = page.rows.chances;
  const size = page.model.size;
  for (let row = 0; row < v.rows; ++row) {
    for (let p = 0; p < size; ++p) {
      const alpha = chanceAlpha(chances[row * size + p]);
      if (alpha === 0) continue;
      page.ctx.fillStyle = rgbaCss(followedColor(), alpha);
      page.ctx.fillRect(v.x(p) - v.pitch / 2, v.y(row) - v.rowPitch / 2, v.pitch, v.rowPitch);
    }
  }
}

// The scale of the shading under the picture: its shades from 10^-4 to 1,
// and where a card of a deck in random order would be, 1 in its size.
function showChanceScale(shown) {
  const box = $('chance-scale');
  box.hidden = !shown;
  if (!shown) return;
  const size = page.model.size;
  const at = (p) => `${(100 * (chanceAlpha(p) - chanceAlpha(10 ** -chanceDecades)) / 0.84).toFixed(2)}%`;
  const ticks = [['10⁻⁴', 1e-4], ['0.001', 1e-3], ['0.01', 1e-2], ['0.1', 0.1], ['1', 1], [`1/${size}`, 1 / size]];
  const bar = box.querySelector('.bar');
  bar.style.background = `linear-gradient(to right, ${rgbaCss(followedColor(), chanceAlpha(1e-4))}, ` +
    `${rgbaCss(followedColor(), chanceAlpha(1))}), var(--canvas)`;
  bar.replaceChildren(...ticks.map(([label, p], i) => {
    const tick = document.createElement('span');
    tick.textContent = label;
    tick.className = i === 5 ? 'random' : '';
    tick.style.left = at(p);
    return tick;
  }));
  bar.setAttribute('aria-label', `From a chance of 10⁻⁴, faintest, to certainty, darkest; 1/${size} where a deck in random order puts a card`);
}

export function paintRows(v) {
  const { model, state } = page;
  const size = model.size;
  const colors = model.colors[state.color];
  const { focusCycle } = focused();
  const inFocus = (card) => focusCycle < 0 || model.cycleOf[card] === focusCycle;
  const radius = Math.max(2, Math.min(v.pitch, v.rowPitch) * 0.36);
  if (page.rows.chances && state.card !== null) paintChances(v);

  if (v.lines) {
    // Each card's way as one curve from row to row, then the dots on top.
    const ways = new Array(size);
    for (let c = 0; c < size; ++c) ways[c] = new Int32Array(v.rows);
    for (let row = 0; row < v.rows; ++row) {
      for (let p = 0; p < size; ++p) ways[v.card(row, p)][row] = p;
    }
    // A way a pixel wide is drawn by the canvas as a hairline, several times
    // faster than a wider stroke: where the ways are too close for width to
    // tell, that is what keeps a step of a pack's rows within a frame or two.
    const width = v.pitch / 14;
    page.ctx.lineWidth = width < 2 ? 1 : Math.min(2.5, width);
    // The ways of one look stroked as one path: what a step costs the canvas
    // is mostly its strokes, and cards colored by cycle share a few colors.
    const looks = new Map();
    for (let c = 0; c < size; ++c) {
      const look = rgbaCss(colors[c], inFocus(c) ? 0.6 : 0.1);
      if (!looks.has(look)) looks.set(look, []);
      looks.get(look).push(c);
    }
    for (const [look, cards] of looks) {
      page.ctx.strokeStyle = look;
      page.ctx.beginPath();
      for (const c of cards) tracePath(v, ways[c], false);
      page.ctx.stroke();
    }
  } else {
    paintCells(v, colors, inFocus);
  }
  paintRowLabels(v);
  // The cards followed, each its way in its color, the first on top, and
  // the card pointed at in ink: over the other ways and under every dot,
  // which so keeps its shape where a way crosses it.
  const marked = alsoFollowed().reverse().map(({ card, color }) => [card, rgbaCss(followedColor(color))]);
  if (state.card !== null) marked.push([state.card, rgbaCss(followedColor())]);
  if (page.hover !== null && !followedColors().has(page.hover)) marked.unshift([page.hover, page.theme.ink]);
  const markedWays = marked.map(([card]) => wayOf(card));
  marked.forEach(([card, color], i) => strokeWay(v, markedWays[i], color, card === state.card ? 6 : 5));
  // The positions of the followed card's cycle, which the round has where
  // no chance and no chosen pile make each round its own.
  if (state.card !== null && !model.chance && !page.trick) markCyclePositions(v, model.cycleOf[state.card]);
  if (v.lines) {
    // On the screen a dot's number is drawn with it, once for its look.
    const labelled = !facesShown() && v.pitch >= 20 && v.rowPitch >= 16;
    const withDots = labelled && page.ctx === screenContext;
    for (let row = 0; row < v.rows; ++row) {
      for (let p = 0; p < size; ++p) {
        const c = v.card(row, p);
        const shown = inFocus(c) ? colors[c] : fade(colors[c]);
        paintCard(v, c, p, row, radius, shown, false, !inFocus(c), v.up(row, p),
          withDots ? dotLabel(c, shown, v.up(row, p)) : null);
      }
    }
    if (labelled && !withDots) labelDots(v, radius, colors, inFocus);
    // The marked cards' own dots over the rest, ringed.
    marked.forEach(([card], i) => {
      const way = markedWays[i];
      for (let row = 0; row < v.rows; ++row) {
        paintCard(v, card, way[row], row, radius + 1, colors[card], true, false, v.up(row, way[row]));
      }
      if (labelled) labelDots(v, radius, colors, () => true, card);
    });
  }
  if (page.cursor && page.cursor.kind === 'rows') paintCursor(v);
}

// A dot centered at (x, y): filled with its color, or, face up, a ring of
// it round the canvas's; outlined in ink where it is followed, or where its
// color alone would not stand out; with its number where `label` says.
function paintDot(x, y, radius, color, ringed, quiet, up, label) {
  const theme = page.theme;
  page.ctx.beginPath();
  page.ctx.arc(x, y, radius, 0, 2 * Math.PI);
  if (up) {
    page.ctx.fillStyle = theme.canvas;
    page.ctx.fill();
    page.ctx.lineWidth = Math.max(2, radius * 0.55);
    page.ctx.strokeStyle = rgbaCss(color);
    page.ctx.stroke();
    page.ctx.beginPath();
    page.ctx.arc(x, y, radius + page.ctx.lineWidth / 2, 0, 2 * Math.PI);
    page.ctx.lineWidth = 1;
  } else {
    page.ctx.fillStyle = rgbaCss(color);
    page.ctx.fill();
  }
  const outline = ringed ? theme.ink : outlineOf(color);
  // A faded dot is meant to stay in the background.
  if (outline && !quiet) {
    page.ctx.lineWidth = ringed ? 2 : 1;
    page.ctx.strokeStyle = outline;
    page.ctx.stroke();
  }
  if (label) {
    page.ctx.font = font(Math.min(12, radius));
    page.ctx.textAlign = 'center';
    page.ctx.textBaseline = 'middle';
    page.ctx.fillStyle = label.color;
    page.ctx.fillText(label.text, x, y + 0.5);
  }
}

// Looks drawn once and then copied, whole device pixels apart, by a key
// that says all they depend on: what a step costs the canvas is mostly its
// strokes and text, and a deck of faces or numbered dots on every row repeats
// a few looks. Each is kept as an image, not a canvas: the browser copies a
// canvas by first taking a snapshot of it, on every copy. Past this many
// looks they are drawn afresh.
const mostSprites = 2048;

// The looks drawn with `sprite` added by its key; all afresh, the old ones'
// images let go, where there are as many as are kept.
function withSprite(sprites, key, sprite) {
  if (sprites.size < mostSprites) return new Map(sprites).set(key, sprite);
  for (const old of sprites.values()) old.image.close();
  return new Map([[key, sprite]]);
}

// Copies the look `key`, `w` by `h` pixels, centered at (x, y), drawn the
// first time by `draw(x, y)` centered at (x, y); what `draw` returned then.
function copyDrawn(key, w, h, x, y, draw) {
  const ratio = page.box.ratio;
  const full = `${key}|${ratio}|${page.theme.dark}`;
  let sprite = page.sprites.get(full);
  if (!sprite) {
    const offscreen = new OffscreenCanvas(Math.ceil(w * ratio), Math.ceil(h * ratio));
    const ctx = offscreen.getContext('2d');
    ctx.scale(ratio, ratio);
    const drawing = page.ctx;
    update({ ctx });
    let drawn;
    try {
      drawn = draw(offscreen.width / ratio / 2, offscreen.height / ratio / 2);
    } finally {
      update({ ctx: drawing });
    }
    sprite = { width: offscreen.width / ratio, height: offscreen.height / ratio, drawn, image: offscreen.transferToImageBitmap() };
    update({ sprites: withSprite(page.sprites, full, sprite) });
  }
  page.ctx.drawImage(sprite.image, Math.round((x - sprite.width / 2) * ratio) / ratio,
    Math.round((y - sprite.height / 2) * ratio) / ratio, sprite.width, sprite.height);
  return sprite.drawn;
}

// The playing cards of the rows view `v`: `w` by `h`, and `tall` where,
// presenting, there is room for the rank above the suit.
export function faceSize(v) {
  const tall = page.presenting && v.rowPitch >= 36;
  const w = Math.min(v.pitch * 0.86, v.rowPitch * 0.7);
  return { tall, w, h: Math.min(v.rowPitch * (tall ? 0.9 : 0.86), w * (tall ? 1.9 : 1.4)) };
}

// The font size of a card's name, `w` by `h`, `tall` or not.
export const faceLetters = (w, h, tall) => (tall ? Math.min(w * 0.75, h * 0.4) : Math.max(7, Math.min(12, w * 0.42)));

// A playing card centered at (x, y), `w` by `h`: a band of its color, its
// name, and its outline, in ink where it is followed; the size of the name's
// font.
export function paintFace(x, y, w, h, c, color, ringed, up, tall) {
  const theme = page.theme;
  page.ctx.beginPath();
  roundedRect(x - w / 2, y - h / 2, w, h, Math.max(1.5, w * 0.12));
  page.ctx.fillStyle = up ? '#1c1b22' : theme.dark ? '#f2f0ea' : '#ffffff';
  page.ctx.fill();
  page.ctx.lineWidth = ringed ? 2.5 : 1.5;
  page.ctx.strokeStyle = ringed ? theme.ink : rgbaCss(color);
  page.ctx.stroke();
  page.ctx.fillStyle = rgbaCss(color);
  page.ctx.fillRect(x - w / 2 + 1, y - h / 2 + 1, w - 2, Math.max(2, h * 0.18));
  const face = playingCard(c);
  page.ctx.textAlign = 'center';
  page.ctx.textBaseline = 'middle';
  page.ctx.fillStyle = up ? (face.red ? '#ff8a8f' : '#ffffff') : face.red ? '#c0262d' : '#1c1b22';
  const size = faceLetters(w, h, tall);
  if (tall) {
    page.ctx.font = font(size);
    // The rank high and the suit smaller below it, clear of the hook of a
    // J, which a suit drawn close reads as "|".
    const suit = face.text.slice(-1);
    page.ctx.fillText(face.text.slice(0, -1), x, y - h * 0.1);
    page.ctx.font = font(size * 0.72);
    page.ctx.fillText(suit, x, y + h * 0.3);
    return size;
  }
  page.ctx.font = font(size);
  page.ctx.fillText(face.text, x, y + h * 0.1);
  return size;
}

// A card at a place: a dot in its color, or a playing card with a band of
// its color; ringed in ink where it is followed, and outlined where its
// color alone would not stand out.
// A card face up is drawn inside out, so that nobody can miss it: a ring of
// its color round the canvas's, or a playing card dark with its name light.
function paintCard(v, c, p, row, radius, color, ringed, quiet = false, up = false, label = null) {
  const x = v.x(p), y = v.y(row);
  if (facesInRows() && v.pitch >= 12 && v.rowPitch >= 14) {
    const { tall, w, h } = faceSize(v);
    if (page.ctx !== screenContext) {
      update({ faceFont: paintFace(x, y, w, h, c, color, ringed, up, tall) });
      return;
    }
    // The outline stands out of the card by up to 3 pixels.
    update({ faceFont: copyDrawn(['face', w, h, c, color, ringed, up, tall].join('|'), w + 6, h + 6, x, y,
      (cx, cy) => paintFace(cx, cy, w, h, c, color, ringed, up, tall)) });
    return;
  }
  if (page.ctx !== screenContext) {
    paintDot(x, y, radius, color, ringed, quiet, up, label);
    return;
  }
  // A face-up ring stands out of the dot by up to its width.
  const across = 2 * (radius + 2 + Math.max(2, radius * 0.55));
  copyDrawn(['dot', radius, color, ringed, quiet, up, label ? label.text + label.color : ''].join('|'), across, across, x, y,
    (cx, cy) => paintDot(cx, cy, radius, color, ringed, quiet, up, label));
}

// A ring `width` wide in `color` round a card centered at (x, y), `w` by
// `h`: a card followed, standing out of the others.
export function ringCard(x, y, w, h, color, width) {
  page.ctx.beginPath();
  roundedRect(x - w / 2 - width, y - h / 2 - width, w + 2 * width, h + 2 * width, Math.max(3, w * 0.16));
  page.ctx.lineWidth = width;
  page.ctx.strokeStyle = color;
  page.ctx.stroke();
}

export function roundedRect(x, y, w, h, r) {
  page.ctx.moveTo(x + r, y);
  page.ctx.lineTo(x + w - r, y);
  page.ctx.quadraticCurveTo(x + w, y, x + w, y + r);
  page.ctx.lineTo(x + w, y + h - r);
  page.ctx.quadraticCurveTo(x + w, y + h, x + w - r, y + h);
  page.ctx.lineTo(x + r, y + h);
  page.ctx.quadraticCurveTo(x, y + h, x, y + h - r);
  page.ctx.lineTo(x, y + r);
  page.ctx.quadraticCurveTo(x, y, x + r, y);
  page.ctx.closePath();
}

// A dot's number and its color: ink on a card face up, which is a ring
// round the canvas; else dark or light, whichever its color sets off.
function dotLabel(c, shown, up) {
  return { text: String(cardNumber(c)), color: up ? page.theme.ink : luminance(shown) > 140 ? '#1c1b22' : '#ffffff' };
}

// Card numbers inside the dots, where they fit; only card `only`'s, if
// given. A faded dot keeps a number as readable as the others.
function labelDots(v, radius, colors, inFocus, only = null) {
  page.ctx.font = font(Math.min(12, radius));
  page.ctx.textAlign = 'center';
  page.ctx.textBaseline = 'middle';
  for (let row = 0; row < v.rows; ++row) {
    for (let p = 0; p < page.model.size; ++p) {
      const c = v.card(row, p);
      if (only !== null && c !== only) continue;
      const shown = inFocus(c) || c === only ? colors[c] : fade(colors[c]);
      const label = dotLabel(c, shown, v.up(row, p));
      page.ctx.fillStyle = label.color;
      page.ctx.fillText(label.text, v.x(p), v.y(row) + 0.5);
    }
  }
}

// A followed card's way in its color, over an edge of the canvas's color
// `edge` wide that parts it from the ways it crosses.
function strokeWay(v, way, color, edge) {
  page.ctx.lineJoin = 'round';
  tracePath(v, way);
  page.ctx.strokeStyle = page.theme.canvas;
  page.ctx.lineWidth = edge;
  page.ctx.stroke();
  tracePath(v, way);
  page.ctx.strokeStyle = color;
  page.ctx.lineWidth = 2.5;
  page.ctx.stroke();
}

function tracePath(v, way, begin = true) {
  if (begin) page.ctx.beginPath();
  page.ctx.moveTo(v.x(way[0]), v.y(0));
  for (let row = 1; row < way.length; ++row) {
    const y0 = v.y(row - 1), y1 = v.y(row), middle = (y0 + y1) / 2;
    if (v.lines) {
      page.ctx.bezierCurveTo(v.x(way[row - 1]), middle, v.x(way[row]), middle, v.x(way[row]), y1);
    } else {
      page.ctx.lineTo(v.x(way[row]), y1);
    }
  }
}

// Cells are put straight into the canvas's device pixels, a line of them
// per row made by the core, where a deck wider than the screen is averaged
// down to a pixel a column: a fraction of what it costs the browser to
// scale an image down with smoothing.
function paintCells(v, colors, inFocus) {
  const size = page.model.size;
  const ratio = v.box.ratio;
  const width = Math.max(1, Math.round(v.pitch * size * ratio));
  const rowHeight = Math.max(1, Math.round(v.rowPitch * ratio));
  const anyFocus = focusCard() !== null;
  const palette = new Uint32Array(size);
  for (let c = 0; c < size; ++c) palette[c] = anyFocus && !inFocus(c) ? fade(colors[c]) : colors[c];
  const image = new ImageData(width, rowHeight * v.rows);
  const pixels = new Uint32Array(image.data.buffer);
  withCells(v.deck, v.rows, size, palette, width, (lines) => {
    for (let row = 0; row < v.rows; ++row) {
      const line = lines.subarray(row * width, (row + 1) * width);
      for (let y = 0; y < rowHeight; ++y) pixels.set(line, (row * rowHeight + y) * width);
    }
  });
  page.ctx.putImageData(image, Math.round(v.left * ratio), Math.round(v.top * ratio));
}

function paintRowLabels(v) {
  page.ctx.font = labelFont;
  page.ctx.textAlign = 'right';
  page.ctx.textBaseline = 'middle';
  page.ctx.fillStyle = page.theme.muted;
  // Every row, or every 2nd, 5th, 10th ... so that labels stay apart.
  const steps = [1, 2, 5, 10, 20, 50, 100, 200, 500];
  const every = steps.find((s) => s * v.rowPitch >= 15) || 1000;
  for (let row = 0; row < v.rows; row += every) {
    if (row > 0 && (v.rows - 1 - row) * v.rowPitch < 14 && row !== v.rows - 1) continue;
    page.ctx.fillText(v.labels.label(row), v.left - 14, v.y(row));
  }
  if ((v.rows - 1) % every !== 0) page.ctx.fillText(v.labels.label(v.rows - 1), v.left - 14, v.y(v.rows - 1));
  // The mark of the starting order: a triangle pointing at the row.
  page.ctx.fillStyle = page.theme.mark;
  const half = Math.max(3, Math.min(v.rowPitch * 0.4, 6));
  for (const row of v.returns) {
    const y = v.y(row);
    page.ctx.beginPath();
    page.ctx.moveTo(v.left - 3, y);
    page.ctx.lineTo(v.left - 3 - 1.6 * half, y - half);
    page.ctx.lineTo(v.left - 3 - 1.6 * half, y + half);
    page.ctx.closePath();
    page.ctx.fill();
  }
}

// Ticks above the rows at every position of the cycle, which the caption
// explains.
function markCyclePositions(v, cycle) {
  page.ctx.fillStyle = rgbaCss(followedColor());
  const width = Math.max(1.5, Math.min(v.pitch * 0.7, 6));
  for (let p = 0; p < page.model.size; ++p) {
    if (page.model.cycleOf[p] === cycle) page.ctx.fillRect(v.x(p) - width / 2, v.top - 12, width, 9);
  }
}

// The keyboard's cursor: a ring round the place it is at.
export function paintCursor(v) {
  const { cursor, model, theme } = page;
  const x = v.x(cursor.position);
  const y = v.kind === 'rows' ? v.y(cursor.row) : v.y(model.goesTo[cursor.position]);
  const r = v.kind === 'rows' ? Math.max(6, Math.min(v.pitch, v.rowPitch) * 0.6) : Math.max(6, v.scale);
  page.ctx.beginPath();
  page.ctx.arc(x, y, r, 0, 2 * Math.PI);
  page.ctx.lineWidth = 3;
  page.ctx.strokeStyle = theme.ink;
  page.ctx.stroke();
  page.ctx.beginPath();
  page.ctx.arc(x, y, r + 3, 0, 2 * Math.PI);
  page.ctx.lineWidth = 2;
  page.ctx.strokeStyle = theme.canvas;
  page.ctx.stroke();
}

export function cursorWords() {
  const { view, cursor, state, model } = page;
  if (view.kind !== 'map') {
    const card = view.card(cursor.row, cursor.position);
    return `Card ${cardName(card)}, at ${positionWords(cursor.position)}, in round ${state.round + BigInt(cursor.row)}.` +
      chanceWords([cursor.row, cursor.position]);
  }
  return `Position ${cursor.position}: its card goes to ${model.goesTo[cursor.position]}.`;
}
