// Picking a card to follow: by a click or a touch, or by the keyboard alone
// (F, or Enter on the picture; the arrows; Enter).

import { $, canvas } from './dom.js';
import { describe, paint } from './draw.js';
import { show } from './fields.js';
import { page, update } from './page.js';
import { positionOf } from './rows.js';

// The place under the pointer, [row, position], or null: of the rows, of
// the deck drawn alone (row 0) or of the map (the position before a round).
function placeAt(event) {
  const { view: v, model } = page;
  if (page.dealing) return null;
  const rect = canvas.getBoundingClientRect();
  const x = event.clientX - rect.left, y = event.clientY - rect.top;
  let row = 0, p;
  if (v.kind === 'deck') p = v.at(x, y);
  else if (v.kind === 'rows') [p, row] = [Math.floor((x - v.left) / v.pitch), Math.floor((y - v.top) / v.rowPitch)];
  else p = Math.floor((x - v.left) / v.scale);
  return p !== null && p >= 0 && p < model.size && row >= 0 && row < (v.rows || 1) ? [row, p] : null;
}

// The card under the pointer, or null.
function cardAt(event) {
  const at = placeAt(event);
  return at === null ? null : page.view.kind === 'map' ? at[1] : page.view.card(...at);
}

function repaintSoon() {
  if (page.paintQueued) return;
  update({ paintQueued: true });
  requestAnimationFrame(() => {
    update({ paintQueued: false });
    if (!page.dealing) paint();
  });
}

// Picking starts at the card followed (or the first), the picture focused
// for its keys.
export function startPicking() {
  const { view: v, state } = page;
  canvas.focus({ preventScroll: true });
  if (v.kind !== 'map') {
    const p = state.card !== null ? positionOf(0, state.card) : v.kind === 'deck' ? page.model.size - 1 : 0;
    update({ cursor: { kind: v.kind, position: Math.max(0, p), row: 0 } });
  } else {
    update({ cursor: { kind: 'map', position: state.card !== null ? state.card : 0 } });
  }
  showPicking();
  repaintSoon();
}

export function movePicking(key) {
  const { view: v, cursor, model } = page;
  const by = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] }[key];
  // The deck reads from its top card, line by line.
  const step = v.kind === 'deck' ? -(by[0] + by[1] * v.across) : by[0];
  const position = Math.max(0, Math.min(model.size - 1, cursor.position + step));
  const row = v.kind === 'rows' ? Math.max(0, Math.min(v.rows - 1, cursor.row + by[1])) : cursor.row;
  update({ cursor: { ...cursor, position, row } });
  repaintSoon();
}

export function pickAtCursor() {
  const { view, cursor } = page;
  const card = view.kind !== 'map' ? view.card(cursor.row, cursor.position) : cursor.position;
  update({ cursor: null });
  showPicking();
  show({ ...page.state, card, more: [] }, 'push');
}

// A click follows the card alone, or follows nothing where it is all that
// is followed; a Shift-click adds it to the cards followed, or takes it away,
// and says so where no more may be followed.
function followedAfterClick(card, adding) {
  const { state, facts } = page;
  const all = state.card === null ? [] : [state.card, ...state.more];
  const most = facts.table.most_followed;
  let next;
  if (!adding || card === null) next = card === state.card && !state.more.length ? [] : card === null ? [] : [card];
  else if (all.includes(card)) next = all.filter((c) => c !== card);
  else if (all.length < most) next = [...all, card];
  else return { refused: `At most ${most} cards are followed at once: Shift-click one of them to let it go first.` };
  return { card: next.length ? next[0] : null, more: next.slice(1) };
}

export function stopPicking() {
  update({ cursor: null });
  showPicking();
  repaintSoon();
}

// While a card is being picked, the bottom of the window says what the keys
// do then, which is not what the footer says.
function showPicking() {
  $('keys-now').hidden = !page.cursor;
}

export function wirePicking() {
  canvas.addEventListener('pointermove', (event) => {
    const card = cardAt(event);
    const at = placeAt(event);
    if (card !== page.hover || String(at) !== String(page.hoverAt)) { update({ hover: card, hoverAt: at }); repaintSoon(); }
  });
  canvas.addEventListener('pointerleave', () => {
    if (page.hover !== null) { update({ hover: null, hoverAt: null }); repaintSoon(); }
  });
  // A click, as a tap, follows the card under it; picking by keyboard is
  // started by its own key.
  canvas.addEventListener('click', (event) => {
    if (page.dealing) return;
    const next = followedAfterClick(cardAt(event), event.shiftKey);
    update({ hover: null, hoverAt: null, cursor: null });
    showPicking();
    if (next.refused) {
      update({ notice: next.refused });
      describe();
      return;
    }
    show({ ...page.state, ...next }, 'push');
  });
}
