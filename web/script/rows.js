// The rows view: the deck at the round shown and the rounds after it, one
// row each from the top down, each row from the bottom card of the deck on
// the left to the top card on the right. Small decks show a dot for each
// card and each card's way as a line, as deal-picture draws them; wide decks
// show cells.

const labelFont = font(12);
// The fewest pixels between rows for which a small deck's whole period,
// return included, is shown at once; playing cards need room for their faces.
// Presenting, faces are large enough to read across a room: their names
// at least 14 pixels high, rank above suit.
const leastPeriodPitch = () => (facesShown() ? (presenting ? 40 : 18) : 9);

// The label of each row: its round number whole, where the numbers fit in a
// margin of at most two fifths of the width; else K, K+1, ... with K written
// whole in the caption.
function rowLabels(rows, width) {
  ctx.font = labelFont;
  const last = (state.round + BigInt(rows - 1)).toString();
  const first = state.round.toString();
  const widest = Math.max(ctx.measureText(first).width, ctx.measureText(last).width);
  const most = Math.max(60, width * 0.4);
  if (widest + 22 <= most) {
    return { absolute: true, left: Math.max(width < 480 ? 40 : 56, Math.ceil(widest) + 22),
      label: (row) => (state.round + BigInt(row)).toString() };
  }
  const relative = ctx.measureText(`K+${rows - 1}`).width;
  return { absolute: false, left: Math.ceil(relative) + 22,
    label: (row) => (row === 0 ? 'K' : `K+${row}`) };
}

function layoutRows(b) {
  const size = model.size;
  const right = 10, top = 22, bottom = 8;
  const lines = size <= limits.maxLineCards;
  // The labels' margin depends on the rows, and the rows on the room: a
  // first guess at the margin, then the real one.
  let labels = rowLabels(2, b.width);
  let pitch, rowPitch, rows;
  const fit = () => {
    const plotWidth = b.width - labels.left - right;
    const plotHeight = b.height - top - bottom;
    if (lines) {
      pitch = plotWidth / size;
      rowPitch = facesShown() && presenting ? Math.min(Math.max(pitch * 1.75, 40), 120)
        : Math.min(Math.max(pitch * (facesShown() ? 1.1 : 0.75), 16), 36);
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
    rows = Math.max(2, Math.min(Math.floor(plotHeight / rowPitch + 1e-9), limits.maxRows, 200));
  };
  fit();
  labels = rowLabels(rows, b.width);
  fit();
  const left = labels.left;
  const firstReturn = core._explorer_rows(rows);
  const stride = limits.rowStride;
  const deck = core._explorer_row(0) >> 2;
  const returns = [];
  if (firstReturn >= 0) {
    const step = model.smallPeriod || Infinity;
    for (let r = firstReturn; r < rows; r += step) returns.push(r);
  }
  showTexts();
  $('caption').textContent = `Rows: ${labels.absolute ? `round ${state.round}` : `round K = ${state.round}`} ` +
    'at the top, one round more each row down; each row is the deck from its bottom card (left) ' +
    `to its top card (right), each card colored by ${state.color === 'cycle' ? 'its cycle (legend beside)' : 'its starting position'}` +
    `${returns.length ? '; ▶ marks the starting order' : ''}.`;
  return {
    kind: 'rows', box: b, left, top, pitch, rowPitch, rows, lines, stride, deck, returns, labels,
    x: (position) => left + (position + 0.5) * pitch,
    y: (row) => top + (row + 0.5) * rowPitch,
    card: (row, position) => core.HEAP32[deck + row * stride + position],
  };
}

// The listing, the hands this deck deals, and the other words of the round.
function showTexts() {
  $('listing').textContent = coreText(core._explorer_listing());
  $('dealt').textContent = model.routine && model.deals === 0
    ? 'This routine deals no hands.' : coreText(core._explorer_hands());
}

// Where `card` is in row `row`.
function positionOf(row, card) {
  const base = view.deck + row * view.stride;
  const cards = core.HEAP32;
  for (let p = 0; p < model.size; ++p) if (cards[base + p] === card) return p;
  return -1;
}

// Where `card` is in each row shown.
function wayOf(card) {
  const way = new Int32Array(view.rows);
  for (let row = 0; row < view.rows; ++row) way[row] = positionOf(row, card);
  return way;
}

function paintRows(v) {
  const size = model.size;
  const colors = model.colors[state.color];
  const { focus, focusCycle } = focused();
  const inFocus = (card) => focusCycle < 0 || model.cycleOf[card] === focusCycle;
  const radius = Math.max(2, Math.min(v.pitch, v.rowPitch) * 0.36);

  if (v.lines) {
    // Each card's way as one curve from row to row, then the dots on top.
    const ways = new Array(size);
    for (let c = 0; c < size; ++c) ways[c] = new Int32Array(v.rows);
    for (let row = 0; row < v.rows; ++row) {
      for (let p = 0; p < size; ++p) ways[v.card(row, p)][row] = p;
    }
    ctx.lineWidth = Math.max(1, Math.min(2.5, v.pitch / 14));
    for (let c = 0; c < size; ++c) {
      ctx.strokeStyle = rgbaCss(colors[c], inFocus(c) ? 0.6 : 0.1);
      tracePath(v, ways[c]);
      ctx.stroke();
    }
    for (let row = 0; row < v.rows; ++row) {
      for (let p = 0; p < size; ++p) {
        const c = v.card(row, p);
        paintCard(v, c, p, row, radius, inFocus(c) ? colors[c] : fade(colors[c]), false, !inFocus(c));
      }
    }
    if (!facesShown() && v.pitch >= 20 && v.rowPitch >= 16) labelDots(v, radius, colors, inFocus);
  } else {
    paintCells(v, colors, inFocus);
  }
  paintRowLabels(v);
  if (focus !== null) {
    const way = wayOf(focus);
    ctx.lineJoin = 'round';
    tracePath(v, way);
    ctx.strokeStyle = theme.canvas;
    ctx.lineWidth = 6;
    ctx.stroke();
    tracePath(v, way);
    ctx.strokeStyle = rgbaCss(followedColor());
    ctx.lineWidth = 2.5;
    ctx.stroke();
    markCyclePositions(v, focusCycle);
    if (v.lines) {
      // The card's own dots above its way, ringed.
      for (let row = 0; row < v.rows; ++row) {
        paintCard(v, focus, way[row], row, radius + 1, colors[focus], true);
      }
      if (!facesShown() && v.pitch >= 20 && v.rowPitch >= 16) labelDots(v, radius, colors, inFocus, focus);
    }
  }
  if (cursor && cursor.kind === 'rows') paintCursor(v);
}

// A card at a place: a dot in its color, or a playing card with a band of
// its color; ringed in ink where it is followed, and outlined where its
// color alone would not stand out.
let faceFont = 0; // the size of the names last drawn on faces, for the browser test
function paintCard(v, c, p, row, radius, color, ringed, quiet = false) {
  const x = v.x(p), y = v.y(row);
  if (facesShown() && v.pitch >= 12 && v.rowPitch >= 14) {
    const tall = presenting && v.rowPitch >= 36;
    const w = Math.min(v.pitch * 0.86, v.rowPitch * 0.7);
    const h = Math.min(v.rowPitch * (tall ? 0.9 : 0.86), w * (tall ? 1.9 : 1.4));
    ctx.beginPath();
    roundedRect(x - w / 2, y - h / 2, w, h, Math.max(1.5, w * 0.12));
    ctx.fillStyle = theme.dark ? '#f2f0ea' : '#ffffff';
    ctx.fill();
    ctx.lineWidth = ringed ? 2.5 : 1.5;
    ctx.strokeStyle = ringed ? theme.ink : rgbaCss(color);
    ctx.stroke();
    ctx.fillStyle = rgbaCss(color);
    ctx.fillRect(x - w / 2 + 1, y - h / 2 + 1, w - 2, Math.max(2, h * 0.18));
    const face = playingCard(c);
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.fillStyle = face.red ? '#c0262d' : '#1c1b22';
    if (tall) {
      const size = Math.min(w * 0.75, h * 0.4);
      faceFont = size;
      ctx.font = font(size);
      const suit = face.text.slice(-1);
      ctx.fillText(face.text.slice(0, -1), x, y - h * 0.02);
      ctx.fillText(suit, x, y + h * 0.3);
      return;
    }
    faceFont = Math.max(7, Math.min(12, w * 0.42));
    ctx.font = font(faceFont);
    ctx.fillText(face.text, x, y + h * 0.1);
    return;
  }
  ctx.beginPath();
  ctx.arc(x, y, radius, 0, 2 * Math.PI);
  ctx.fillStyle = rgbaCss(color);
  ctx.fill();
  const outline = ringed ? theme.ink : outlineOf(color);
  // A faded dot is meant to stay in the background.
  if (outline && !quiet) {
    ctx.lineWidth = ringed ? 2 : 1;
    ctx.strokeStyle = outline;
    ctx.stroke();
  }
}

function roundedRect(x, y, w, h, r) {
  ctx.moveTo(x + r, y);
  ctx.lineTo(x + w - r, y);
  ctx.quadraticCurveTo(x + w, y, x + w, y + r);
  ctx.lineTo(x + w, y + h - r);
  ctx.quadraticCurveTo(x + w, y + h, x + w - r, y + h);
  ctx.lineTo(x + r, y + h);
  ctx.quadraticCurveTo(x, y + h, x, y + h - r);
  ctx.lineTo(x, y + r);
  ctx.quadraticCurveTo(x, y, x + r, y);
  ctx.closePath();
}

// Card numbers inside the dots, where they fit; only card `only`'s, if
// given. A faded dot keeps a number as readable as the others.
function labelDots(v, radius, colors, inFocus, only = null) {
  ctx.font = font(Math.min(12, radius));
  ctx.textAlign = 'center';
  ctx.textBaseline = 'middle';
  for (let row = 0; row < v.rows; ++row) {
    for (let p = 0; p < model.size; ++p) {
      const c = v.card(row, p);
      if (only !== null && c !== only) continue;
      const shown = inFocus(c) || c === only ? colors[c] : fade(colors[c]);
      ctx.fillStyle = luminance(shown) > 140 ? '#1c1b22' : '#ffffff';
      ctx.fillText(String(c), v.x(p), v.y(row) + 0.5);
    }
  }
}

function tracePath(v, way) {
  ctx.beginPath();
  ctx.moveTo(v.x(way[0]), v.y(0));
  for (let row = 1; row < way.length; ++row) {
    const y0 = v.y(row - 1), y1 = v.y(row), middle = (y0 + y1) / 2;
    if (v.lines) {
      ctx.bezierCurveTo(v.x(way[row - 1]), middle, v.x(way[row]), middle, v.x(way[row]), y1);
    } else {
      ctx.lineTo(v.x(way[row]), y1);
    }
  }
}

// Cells are put straight into the canvas's device pixels, a line of them
// per row made by the core, where a deck wider than the screen is averaged
// down to a pixel a column: a fraction of what it costs the browser to
// scale an image down with smoothing.
function paintCells(v, colors, inFocus) {
  const size = model.size;
  const ratio = v.box.ratio;
  const width = Math.max(1, Math.round(v.pitch * size * ratio));
  const rowHeight = Math.max(1, Math.round(v.rowPitch * ratio));
  const anyFocus = focusCard() !== null;
  const palette = uint32s(core._explorer_palette(), size);
  for (let c = 0; c < size; ++c) palette[c] = anyFocus && !inFocus(c) ? fade(colors[c]) : colors[c];
  const lines = uint32s(core._explorer_cell_lines(v.rows, width), v.rows * width);
  const image = new ImageData(width, rowHeight * v.rows);
  const pixels = new Uint32Array(image.data.buffer);
  for (let row = 0; row < v.rows; ++row) {
    const line = lines.subarray(row * width, (row + 1) * width);
    for (let y = 0; y < rowHeight; ++y) pixels.set(line, (row * rowHeight + y) * width);
  }
  ctx.putImageData(image, Math.round(v.left * ratio), Math.round(v.top * ratio));
}

function paintRowLabels(v) {
  ctx.font = labelFont;
  ctx.textAlign = 'right';
  ctx.textBaseline = 'middle';
  ctx.fillStyle = theme.muted;
  // Every row, or every 2nd, 5th, 10th ... so that labels stay apart.
  const steps = [1, 2, 5, 10, 20, 50, 100, 200, 500];
  const every = steps.find((s) => s * v.rowPitch >= 15) || 1000;
  for (let row = 0; row < v.rows; row += every) {
    if (row > 0 && (v.rows - 1 - row) * v.rowPitch < 14 && row !== v.rows - 1) continue;
    ctx.fillText(v.labels.label(row), v.left - 14, v.y(row));
  }
  if ((v.rows - 1) % every !== 0) ctx.fillText(v.labels.label(v.rows - 1), v.left - 14, v.y(v.rows - 1));
  // The mark of the starting order: a triangle pointing at the row.
  ctx.fillStyle = theme.mark;
  const half = Math.max(3, Math.min(v.rowPitch * 0.4, 6));
  for (const row of v.returns) {
    const y = v.y(row);
    ctx.beginPath();
    ctx.moveTo(v.left - 3, y);
    ctx.lineTo(v.left - 3 - 1.6 * half, y - half);
    ctx.lineTo(v.left - 3 - 1.6 * half, y + half);
    ctx.closePath();
    ctx.fill();
  }
}

// Ticks above the rows at every position of the cycle.
function markCyclePositions(v, cycle) {
  ctx.fillStyle = rgbaCss(followedColor());
  const width = Math.max(1.5, Math.min(v.pitch * 0.7, 6));
  for (let p = 0; p < model.size; ++p) {
    if (model.cycleOf[p] === cycle) ctx.fillRect(v.x(p) - width / 2, v.top - 12, width, 9);
  }
}

// The keyboard's cursor: a ring round the place it is at.
function paintCursor(v) {
  const x = v.x(cursor.position);
  const y = v.kind === 'rows' ? v.y(cursor.row) : v.y(model.goesTo[cursor.position]);
  const r = v.kind === 'rows' ? Math.max(6, Math.min(v.pitch, v.rowPitch) * 0.6) : Math.max(6, v.scale);
  ctx.beginPath();
  ctx.arc(x, y, r, 0, 2 * Math.PI);
  ctx.lineWidth = 3;
  ctx.strokeStyle = theme.ink;
  ctx.stroke();
  ctx.beginPath();
  ctx.arc(x, y, r + 3, 0, 2 * Math.PI);
  ctx.lineWidth = 2;
  ctx.strokeStyle = theme.canvas;
  ctx.stroke();
}

function cursorWords() {
  if (view.kind === 'rows') {
    const card = view.card(cursor.row, cursor.position);
    return `Card ${cardName(card)}, at ${positionWords(cursor.position)}, in round ${state.round + BigInt(cursor.row)}.`;
  }
  return `Position ${cursor.position}: its card goes to ${model.goesTo[cursor.position]}.`;
}
