// Presenting: the picture alone in the window, for the back row of a
// classroom; the keys still work, and Escape leaves.

import { faceUpMask } from './core.js';
import { paintDeal, wake } from './dealt.js';
import { $, canvas } from './dom.js';
import { draw, fitCanvas, focusCard, followedColor, followedColors, rgbaCss } from './draw.js';
import { setReady } from './fields.js';
import { drawLandscape, settled } from './landscape.js';
import { drawMixing } from './mixing.js';
import { page, update } from './page.js';
import { faceLetters, faceSize, paintFace, ringCard, roundedRect } from './rows.js';

// Leaving, the reader is back where they were: the page scrolled as it was,
// the focus where it was.
export function setPresenting(on) {
  if (page.presenting === on) return;
  const back = page.returnTo;
  update({ presenting: on, presentRows: false,
    returnTo: on ? { scroll: window.scrollY, focus: document.activeElement } : null });
  document.body.classList.toggle('presenting', on);
  $('present').setAttribute('aria-pressed', String(on));
  if (on) canvas.focus({ preventScroll: true });
  if (page.dealing) {
    // The round being dealt goes on, at the new size.
    fitCanvas(true);
    paintDeal(page.dealing.idle ? 1 : 0);
    wake();
  } else {
    setReady(false);
    draw(true);
    if (!on) {
      drawLandscape();
      drawMixing();
    }
    setReady(settled());
  }
  if (!on && back) {
    window.scrollTo(0, back.scroll);
    if (back.focus && back.focus !== document.body) back.focus.focus({ preventScroll: true });
  }
}

// ---- the deck, large ----------------------------------------------------------

// Presenting playing cards, the deck as it is now is what a room needs to
// read: where the rows would draw the names in a font smaller than this many
// pixels (capitals 36 pixels high), the deck is drawn alone instead, its
// cards in lines from the top card on, each as large as the screen allows.
export const roomLetters = 50;

// The size of the names the rows view `v` would draw on its faces.
export function rowsLetters(v) {
  const { tall, w, h } = faceSize(v);
  return faceLetters(w, h, tall);
}

// The deck of the rows asked last, round `state.round`, in lines: as many
// as give the largest cards.
export function layoutDeck(b) {
  const size = page.model.size;
  const side = 12, top = 14, bottom = 8;
  const width = b.width - 2 * side, height = b.height - top - bottom;
  let best = null;
  for (let lines = 1; lines <= size; ++lines) {
    const across = Math.ceil(size / lines);
    const pitch = width / across, lineH = height / lines;
    const w = Math.min(pitch * 0.9, (lineH * 0.92) / 1.5), h = w * 1.5;
    const letters = faceLetters(w, h, true);
    if (!best || letters > best.letters) best = { across, pitch, lineH, w, h, letters };
  }
  const deck = page.rows.rows.subarray(0, size);
  const { across, pitch, lineH } = best;
  $('caption').textContent = `The deck at round ${page.state.round}, read from its top card, left to right and ` +
    'line by line, as large as the screen allows: the rows show where their faces are as large.';
  return {
    kind: 'deck', box: b, ...best, left: side, top, rows: 1, stride: size, deck, returns: [],
    // Position p is the (size - p)th card from the top.
    x: (p) => side + (((size - 1 - p) % across) + 0.5) * pitch,
    y: (p) => top + (Math.floor((size - 1 - p) / across) + 0.5) * lineH,
    at: (x, y) => {
      const i = Math.floor((y - top) / lineH) * across + Math.floor((x - side) / pitch);
      return x >= side && y >= top && Math.floor((x - side) / pitch) < across && i >= 0 && i < size ? size - 1 - i : null;
    },
    card: (row, p) => deck[p] & faceUpMask,
    up: (row, p) => (deck[p] & ~faceUpMask) !== 0,
  };
}

export function paintDeck(v) {
  const { model, state } = page;
  const colors = model.colors[state.color];
  const followed = followedColors();
  const focus = focusCard();
  for (let p = 0; p < model.size; ++p) {
    const c = v.card(0, p);
    const x = v.x(p), y = v.y(p);
    if (followed.has(c) || c === focus) {
      ringCard(x, y, v.w, v.h, followed.has(c) ? rgbaCss(followedColor(followed.get(c))) : page.theme.ink, 5);
    }
    update({ faceFont: paintFace(x, y, v.w, v.h, c, colors[c], c === focus, v.up(0, p), true) });
  }
  if (page.cursor && page.cursor.kind === 'deck') {
    page.ctx.beginPath();
    roundedRect(v.x(page.cursor.position) - v.w / 2 - 9, v.y(page.cursor.position) - v.h / 2 - 9, v.w + 18, v.h + 18, 8);
    page.ctx.lineWidth = 3;
    page.ctx.strokeStyle = page.theme.ink;
    page.ctx.stroke();
  }
}
