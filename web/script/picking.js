// Picking a card to follow: by pointing and clicking, by a touch, or by the
// keyboard alone (Enter on the picture, the arrows, Enter).

// The card under the pointer, or null.
function cardAt(event) {
  const { view: v, model } = page;
  const rect = canvas.getBoundingClientRect();
  const x = event.clientX - rect.left, y = event.clientY - rect.top;
  if (page.dealing) return null;
  if (v.kind === 'deck') {
    const p = v.at(x, y);
    return p === null ? null : v.card(0, p);
  }
  if (v.kind === 'rows') {
    const p = Math.floor((x - v.left) / v.pitch);
    const row = Math.floor((y - v.top) / v.rowPitch);
    if (p < 0 || p >= model.size || row < 0 || row >= v.rows) return null;
    return v.card(row, p);
  }
  const p = Math.floor((x - v.left) / v.scale);
  return p >= 0 && p < model.size ? p : null;
}

function repaintSoon() {
  if (page.paintQueued) return;
  update({ paintQueued: true });
  requestAnimationFrame(() => {
    update({ paintQueued: false });
    if (!page.dealing) paint();
  });
}

// Enter on the picture starts picking at the card followed (or the first).
function startPicking() {
  const { view: v, state } = page;
  if (v.kind !== 'map') {
    const p = state.card !== null ? positionOf(0, state.card) : v.kind === 'deck' ? page.model.size - 1 : 0;
    update({ cursor: { kind: v.kind, position: Math.max(0, p), row: 0 } });
  } else {
    update({ cursor: { kind: 'map', position: state.card !== null ? state.card : 0 } });
  }
  repaintSoon();
}

// Picking starts at the place clicked, as a click that gave the picture
// the focus leaves it.
function placeCursor(event) {
  const v = page.view;
  const rect = canvas.getBoundingClientRect();
  const x = event.clientX - rect.left, y = event.clientY - rect.top;
  update({ cursor: v.kind === 'deck' ? { kind: 'deck', position: v.at(x, y) ?? page.model.size - 1, row: 0 }
    : v.kind === 'rows'
    ? { kind: 'rows', position: Math.floor((x - v.left) / v.pitch), row: Math.floor((y - v.top) / v.rowPitch) }
    : { kind: 'map', position: Math.floor((x - v.left) / v.scale) } });
  repaintSoon();
}

function movePicking(key) {
  const { view: v, cursor, model } = page;
  const by = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] }[key];
  // The deck reads from its top card, line by line.
  const step = v.kind === 'deck' ? -(by[0] + by[1] * v.across) : by[0];
  const position = Math.max(0, Math.min(model.size - 1, cursor.position + step));
  const row = v.kind === 'rows' ? Math.max(0, Math.min(v.rows - 1, cursor.row + by[1])) : cursor.row;
  update({ cursor: { ...cursor, position, row } });
  repaintSoon();
}

function pickAtCursor() {
  const { view, cursor } = page;
  const card = view.kind !== 'map' ? view.card(cursor.row, cursor.position) : cursor.position;
  update({ cursor: null });
  show({ ...page.state, card, more: [] }, 'push');
}

// A click follows the card alone, or follows nothing where it is all that
// is followed; a Shift-click adds it to the cards followed, or takes it away.
function followedAfterClick(card, adding) {
  const { state, facts } = page;
  const all = state.card === null ? [] : [state.card, ...state.more];
  let next;
  if (!adding || card === null) next = card === state.card && !state.more.length ? [] : card === null ? [] : [card];
  else if (all.includes(card)) next = all.filter((c) => c !== card);
  else next = all.length < facts.limits.mostFollowed ? [...all, card] : all;
  return { card: next.length ? next[0] : null, more: next.slice(1) };
}

function stopPicking() {
  update({ cursor: null });
  repaintSoon();
}

function wirePicking() {
  canvas.addEventListener('pointermove', (event) => {
    const card = cardAt(event);
    if (card !== page.hover) { update({ hover: card }); repaintSoon(); }
  });
  canvas.addEventListener('pointerleave', () => {
    if (page.hover !== null) { update({ hover: null }); repaintSoon(); }
  });
  // A click that gives the picture the focus, for its keys, follows nothing:
  // it puts the keyboard's cursor on the card, and a second click follows it.
  // A touch follows at once.
  let focusing = false;
  canvas.addEventListener('pointerdown', (event) => {
    focusing = event.pointerType === 'mouse' && document.activeElement !== canvas;
  });
  canvas.addEventListener('click', (event) => {
    const card = cardAt(event);
    if (page.dealing) return;
    if (focusing) {
      focusing = false;
      if (card !== null) placeCursor(event);
      return;
    }
    update({ hover: null, cursor: null });
    show({ ...page.state, ...followedAfterClick(card, event.shiftKey) }, 'push');
  });
}
