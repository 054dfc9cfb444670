// The explorer page's script: it reads the fields and the address, asks the
// core (the deal's own C++ compiled to WebAssembly) for the deck, the period
// and the cycles, and draws. It computes nothing about the deal itself.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const ui = {
    hands: $('hands'), round: $('round'), card: $('card'), error: $('error'),
    previous: $('previous'), next: $('next'), play: $('play'), save: $('save'),
    period: $('period'), periodUnit: $('period-unit'), cycles: $('cycles'),
    canvas: $('canvas'), caption: $('caption'), info: $('info'),
    listing: $('listing'), copy: $('copy'),
  };
  const context = ui.canvas.getContext('2d');
  const encoder = new TextEncoder();
  const defaults = { hands: 4, round: 0n, view: 'rows', color: 'start', card: null };
  // Up to this many cards a row shows dots and each card's way as a line, as
  // deal-picture draws them; wider decks show cells.
  const maxLineCards = 60;
  const playInterval = 160; // ms a round while playing

  let core = null;
  let state = { ...defaults };
  let learnt = 0; // the hand count whose round the core holds
  let model = null; // what the core says of that round
  let view = null; // what is drawn now
  let hover = null; // the card pointed at, if any
  let playing = null; // the timer while playing

  const setReady = (ready) => { document.body.dataset.ready = ready ? '1' : '0'; };

  // ---- talking to the core ------------------------------------------------

  // Puts `text` where the core reads it and returns its length in bytes; a
  // text longer than the room is cut, and the core is told its full length.
  function putText(text) {
    const bytes = encoder.encode(text);
    const room = core._explorer_text_capacity() - 1;
    const at = core._explorer_text();
    const kept = bytes.subarray(0, room);
    core.HEAPU8.set(kept, at);
    core.HEAPU8[at + kept.length] = 0;
    return bytes.length;
  }

  const int32s = (pointer, count) => core.HEAP32.subarray(pointer >> 2, (pointer >> 2) + count);
  const uint32s = (pointer, count) => core.HEAPU32.subarray(pointer >> 2, (pointer >> 2) + count);

  function learn(hands) {
    if (learnt === hands) return;
    core._explorer_learn(hands);
    learnt = hands;
    const size = 5 * hands;
    const pairs = core._explorer_census_pairs();
    const census = int32s(core._explorer_census(), 2 * pairs);
    let cycles = 0;
    for (let i = 0; i < pairs; ++i) cycles += census[2 * i + 1];
    model = {
      hands, size, cycles,
      period: core.UTF8ToString(core._explorer_period()),
      smallPeriod: core._explorer_small_period(),
      census: Array.from({ length: pairs }, (_, i) => [census[2 * i], census[2 * i + 1]]),
      cycleOf: int32s(core._explorer_cycle_of(), size),
      cycleLength: int32s(core._explorer_cycle_length(), size),
      goesTo: int32s(core._explorer_goes_to(), size),
      colors: { start: uint32s(core._explorer_colors(0), size), cycle: uint32s(core._explorer_colors(1), size) },
    };
  }

  // ---- reading what is typed ----------------------------------------------

  function parseHands(text) {
    text = text.trim();
    if (text === '') return { error: 'Hands: type a number of hands, from 1 to 1010.' };
    const hands = core._explorer_parse_hands(putText(text));
    if (hands === -1) return { error: `Hands: “${shorten(text, 24)}” is not a whole number; type one from 1 to 1010.` };
    if (hands < 0) return { error: `Hands: ${shorten(text, 24)} is outside the range 1 to 1010.` };
    return { value: hands };
  }

  // A round number is checked by the core against the round it holds, which
  // is why the hand count is learnt first.
  function parseRound(text) {
    text = text.trim();
    if (text === '') return { error: 'Round: type a round number, such as 0, 12 or -1.' };
    const status = core._explorer_parse_round(putText(text));
    if (status === -1) return { error: `Round: “${shorten(text, 24)}” is not a whole number.` };
    if (status < 0) return { error: `Round: a round number has at most ${core._explorer_max_round_digits()} digits; this one is ${text.length} characters long.` };
    return { value: BigInt(text) };
  }

  function parseCard(text, size) {
    text = text.trim();
    if (text === '') return { value: null };
    if (!/^\d{1,5}$/.test(text) || Number(text) >= size) {
      return { error: `Follow card: type a card from 0 to ${size - 1}, or leave it empty.` };
    }
    return { value: Number(text) };
  }

  function shorten(text, most) {
    return text.length <= most ? text : `${text.slice(0, most - 1)}…`;
  }

  function showError(message, field) {
    ui.error.textContent = message;
    for (const input of [ui.hands, ui.round, ui.card]) {
      input.setAttribute('aria-invalid', String(input === field));
    }
  }

  // ---- the address ------------------------------------------------------

  function toSearch(s) {
    const params = new URLSearchParams({ hands: String(s.hands), round: s.round.toString() });
    if (s.view !== defaults.view) params.set('view', s.view);
    if (s.color !== defaults.color) params.set('color', s.color);
    if (s.card !== null) params.set('card', String(s.card));
    return `?${params}`;
  }

  // The state an address names; what it gets wrong is said and left at the
  // default.
  function fromSearch(search) {
    const params = new URLSearchParams(search);
    const s = { ...defaults };
    let error = '';
    if (params.has('hands')) {
      const hands = parseHands(params.get('hands'));
      if (hands.error) error = hands.error; else s.hands = hands.value;
    }
    learn(s.hands);
    if (params.has('round')) {
      const round = parseRound(params.get('round'));
      if (round.error) error = error || round.error; else s.round = round.value;
    }
    if (params.get('view') === 'map') s.view = 'map';
    if (params.get('color') === 'cycle') s.color = 'cycle';
    if (params.has('card')) {
      const card = parseCard(params.get('card'), 5 * s.hands);
      if (card.error) error = error || card.error; else s.card = card.value;
    }
    return { s, error };
  }

  // ---- showing a state ----------------------------------------------------

  // Makes `next` the state shown. `how` says what becomes of the address:
  // 'push' makes a history entry, 'replace' rewrites the current one.
  function show(next, how) {
    setReady(false);
    learn(next.hands);
    core._explorer_parse_round(putText(next.round.toString()));
    if (next.card !== null && next.card >= 5 * next.hands) next.card = null;
    // Another deck may change the lines above the canvas, and so its place.
    const remeasure = next.hands !== state.hands;
    state = next;
    if (how) {
      const url = toSearch(state);
      try {
        if (how === 'push') history.pushState(null, '', url);
        else history.replaceState(null, '', url);
      } catch (e) {
        // Some browsers keep the address of a file opened from disk fixed;
        // the view still works, it just cannot be bookmarked there.
      }
    }
    fillFields();
    draw(remeasure);
    setReady(true);
  }

  function fillFields() {
    ui.hands.value = String(state.hands);
    ui.round.value = state.round.toString();
    ui.card.value = state.card === null ? '' : String(state.card);
    for (const input of document.querySelectorAll('input[name="view"]')) input.checked = input.value === state.view;
    for (const input of document.querySelectorAll('input[name="color"]')) input.checked = input.value === state.color;
    ui.period.textContent = model.period;
    ui.periodUnit.textContent = model.period === '1' ? 'round' : 'rounds';
    const parts = model.census.map(([length, count]) => `${count} of length ${length}`);
    ui.cycles.textContent = `${model.cycles} ${model.cycles === 1 ? 'cycle' : 'cycles'}: ${parts.join(', ')}`;
  }

  // ---- drawing ------------------------------------------------------------

  // The page's colors, read once a drawing rather than once a use: reading
  // a style makes the browser bring every style up to date.
  let theme = null;
  function readTheme() {
    const style = getComputedStyle(document.documentElement);
    const get = (name) => style.getPropertyValue(name).trim();
    theme = { canvas: get('--canvas'), ink: get('--ink'), muted: get('--muted'), line: get('--line'),
      dark: matchMedia('(prefers-color-scheme: dark)').matches };
  }

  // Sizes the canvas to fill the window below its top, in device pixels, and
  // returns its box. Measuring makes the browser lay the page out, so that is
  // done only when asked (at the start and on resizing); and a canvas whose
  // size is set anew starts blank and costs a new bitmap, so that happens
  // only when the box has changed.
  let box = null;
  function fitCanvas(measure) {
    const canvas = ui.canvas;
    if (box && !measure) return box;
    const top = canvas.getBoundingClientRect().top + window.scrollY;
    const room = Math.min(window.innerHeight, 1400) - 16 - (top < window.innerHeight / 2 ? top : 0);
    const height = Math.round(Math.max(260, room));
    canvas.style.height = `${height}px`;
    const width = canvas.clientWidth;
    const ratio = window.devicePixelRatio || 1;
    if (!box || box.width !== width || box.height !== height || box.ratio !== ratio) {
      canvas.width = Math.round(width * ratio);
      canvas.height = Math.round(height * ratio);
      box = { width, height, ratio };
    }
    return box;
  }

  function draw(measure = false) {
    readTheme();
    const b = fitCanvas(measure);
    context.setTransform(b.ratio, 0, 0, b.ratio, 0, 0);
    view = state.view === 'map' ? layoutMap(b) : layoutRows(b);
    paint();
  }

  // Draws the current view, with the card pointed at or followed, if any.
  function paint() {
    const box = view.box;
    // The canvas's own background shows through: clearing costs less than
    // painting, and a saved picture gets the background put under it.
    context.clearRect(0, 0, box.width, box.height);
    if (view.kind === 'map') paintMap(); else paintRows();
    describeFocus();
  }

  const focusCard = () => (hover !== null ? hover : state.card);
  // The followed card and its cycle; -1 for the cycle when none is followed.
  function focused() {
    const card = focusCard();
    return { focus: card, focusCycle: card === null ? -1 : model.cycleOf[card] };
  }

  function roundLabel(offset, most) {
    const round = state.round + BigInt(offset);
    const text = round.toString();
    return text.length <= most ? text : `${text.slice(0, most - 1)}…`;
  }

  function layoutRows(box) {
    const size = model.size;
    const narrow = box.width < 480;
    const left = narrow ? 46 : 70;
    const right = 10, top = 22, bottom = 8;
    const plotWidth = box.width - left - right;
    const plotHeight = box.height - top - bottom;
    const lines = size <= maxLineCards;
    let pitch, rowPitch, rows;
    if (lines) {
      pitch = plotWidth / size;
      rowPitch = Math.min(Math.max(pitch * 0.75, 16), 36);
    } else {
      // Whole device pixels a cell where the deck is narrower than the
      // screen, so that cells stay crisp; a wide deck is scaled down.
      const devicePitch = Math.floor((plotWidth * box.ratio) / size);
      pitch = devicePitch >= 1 ? devicePitch / box.ratio : plotWidth / size;
      rowPitch = Math.min(Math.max(pitch, 2), 16);
    }
    rows = Math.max(2, Math.min(Math.floor(plotHeight / rowPitch), core._explorer_max_rows(), 200));
    const firstReturn = core._explorer_rows(rows);
    const stride = core._explorer_row_stride();
    const deck = core._explorer_row(0) >> 2;
    ui.listing.textContent = core.UTF8ToString(core._explorer_listing());
    const returns = [];
    if (firstReturn >= 0) {
      const step = model.smallPeriod || Infinity;
      for (let r = firstReturn; r < rows; r += step) returns.push(r);
    }
    ui.caption.textContent = `Rows: round ${roundLabel(0, 40)} at the top, one round more each row down; ` +
      `each row is the deck from its bottom card (left) to its top card (right), ` +
      `each card colored by ${state.color === 'cycle' ? 'its cycle' : 'its starting position'}` +
      `${returns.length ? '; ◀ marks the starting order' : ''}.`;
    return {
      kind: 'rows', box, left, top, pitch, rowPitch, rows, lines, stride, deck, returns,
      x: (position) => left + (position + 0.5) * pitch,
      y: (row) => top + (row + 0.5) * rowPitch,
      card: (row, position) => core.HEAP32[deck + row * stride + position],
    };
  }

  // Where `card` is in each row shown.
  function wayOf(card) {
    const way = new Int32Array(view.rows);
    const size = model.size;
    for (let row = 0; row < view.rows; ++row) {
      const base = view.deck + row * view.stride;
      const cards = core.HEAP32;
      for (let p = 0; p < size; ++p) {
        if (cards[base + p] === card) { way[row] = p; break; }
      }
    }
    return way;
  }

  const rgbaCss = (color, alpha) =>
    `rgba(${color & 255},${(color >>> 8) & 255},${(color >>> 16) & 255},${alpha})`;

  function paintRows() {
    const v = view;
    const size = model.size;
    const colors = model.colors[state.color];
    const { focus, focusCycle } = focused();
    const inFocus = (card) => focusCycle < 0 || model.cycleOf[card] === focusCycle;

    if (v.lines) {
      // Each card's way as one curve from row to row, then the dots on top.
      const ways = new Array(size);
      for (let c = 0; c < size; ++c) ways[c] = new Int32Array(v.rows);
      for (let row = 0; row < v.rows; ++row) {
        for (let p = 0; p < size; ++p) ways[v.card(row, p)][row] = p;
      }
      context.lineWidth = Math.max(1, Math.min(2.5, v.pitch / 14));
      for (let c = 0; c < size; ++c) {
        context.strokeStyle = rgbaCss(colors[c], inFocus(c) ? 0.6 : 0.1);
        tracePath(ways[c]);
        context.stroke();
      }
      const radius = Math.max(2, Math.min(v.pitch, v.rowPitch) * 0.36);
      for (let row = 0; row < v.rows; ++row) {
        for (let p = 0; p < size; ++p) {
          const c = v.card(row, p);
          context.fillStyle = rgbaCss(colors[c], inFocus(c) ? 1 : 0.18);
          context.beginPath();
          context.arc(v.x(p), v.y(row), radius, 0, 2 * Math.PI);
          context.fill();
        }
      }
      if (v.pitch >= 20 && v.rowPitch >= 16) labelDots(radius);
    } else {
      paintCells(colors, inFocus);
    }
    paintRowLabels();
    if (focus !== null) {
      const way = wayOf(focus);
      context.lineJoin = 'round';
      tracePath(way);
      context.strokeStyle = theme.canvas;
      context.lineWidth = 6;
      context.stroke();
      tracePath(way);
      context.strokeStyle = theme.ink;
      context.lineWidth = 2.5;
      context.stroke();
      markCyclePositions(focusCycle);
      if (v.lines) {
        // The card's own dots above its way, ringed.
        const radius = Math.max(2, Math.min(v.pitch, v.rowPitch) * 0.36);
        for (let row = 0; row < v.rows; ++row) {
          context.beginPath();
          context.arc(v.x(way[row]), v.y(row), radius + 1, 0, 2 * Math.PI);
          context.fillStyle = rgbaCss(colors[focus], 1);
          context.fill();
          context.lineWidth = 2;
          context.strokeStyle = theme.ink;
          context.stroke();
        }
        if (v.pitch >= 20 && v.rowPitch >= 16) labelDots(radius, focus);
      }
    }
  }

  // Card numbers inside the dots, where they fit; only card `only`'s, if given.
  function labelDots(radius, only = null) {
    const v = view;
    context.font = `${Math.min(12, radius)}px system-ui, "DejaVu Sans", sans-serif`;
    context.textAlign = 'center';
    context.textBaseline = 'middle';
    const colors = model.colors[state.color];
    for (let row = 0; row < v.rows; ++row) {
      for (let p = 0; p < model.size; ++p) {
        const c = v.card(row, p);
        if (only !== null && c !== only) continue;
        const color = colors[c];
        const light = 0.3 * (color & 255) + 0.59 * ((color >>> 8) & 255) + 0.11 * ((color >>> 16) & 255) > 140;
        context.fillStyle = light ? '#000' : '#fff';
        context.fillText(String(c), v.x(p), v.y(row) + 0.5);
      }
    }
  }

  function tracePath(way) {
    const v = view;
    context.beginPath();
    context.moveTo(v.x(way[0]), v.y(0));
    for (let row = 1; row < way.length; ++row) {
      const y0 = v.y(row - 1), y1 = v.y(row), middle = (y0 + y1) / 2;
      if (v.lines) {
        context.bezierCurveTo(v.x(way[row - 1]), middle, v.x(way[row]), middle, v.x(way[row]), y1);
      } else {
        context.lineTo(v.x(way[row]), y1);
      }
    }
  }

  // Cells are put straight into the canvas's device pixels, a line of them
  // per row made by the core, where a deck wider than the screen is averaged
  // down to a pixel a column: a fraction of what it costs the browser to
  // scale an image down with smoothing.
  function paintCells(colors, inFocus) {
    const v = view;
    const size = model.size;
    const ratio = v.box.ratio;
    const width = Math.max(1, Math.round(v.pitch * size * ratio));
    const rowHeight = Math.max(1, Math.round(v.rowPitch * ratio));
    const focused = focusCard() !== null;
    const palette = uint32s(core._explorer_palette(), size);
    for (let c = 0; c < size; ++c) palette[c] = focused && !inFocus(c) ? fade(colors[c]) : colors[c];
    const lines = uint32s(core._explorer_cell_lines(v.rows, width), v.rows * width);
    const image = context.createImageData(width, rowHeight * v.rows);
    const pixels = new Uint32Array(image.data.buffer);
    for (let row = 0; row < v.rows; ++row) {
      const line = lines.subarray(row * width, (row + 1) * width);
      for (let y = 0; y < rowHeight; ++y) pixels.set(line, (row * rowHeight + y) * width);
    }
    context.putImageData(image, Math.round(v.left * ratio), Math.round(v.top * ratio));
  }

  function fade(color) {
    const toward = theme.dark ? 16 : 255;
    const mix = (shift) => Math.round(((color >>> shift) & 255) * 0.2 + toward * 0.8);
    return (mix(0) | (mix(8) << 8) | (mix(16) << 16) | (0xff << 24)) >>> 0;
  }

  function paintRowLabels() {
    const v = view;
    context.font = '12px system-ui, "DejaVu Sans", sans-serif';
    context.textAlign = 'right';
    context.textBaseline = 'middle';
    context.fillStyle = theme.muted;
    // Every row, or every 2nd, 5th, 10th ... so that labels stay apart.
    const steps = [1, 2, 5, 10, 20, 50, 100, 200, 500];
    const every = steps.find((s) => s * v.rowPitch >= 16) || 1000;
    const most = v.left < 60 ? 4 : 8;
    for (let row = 0; row < v.rows; row += every) {
      context.fillText(row === 0 ? roundLabel(0, most) : `+${row}`, v.left - 14, v.y(row));
    }
    if ((v.rows - 1) % every !== 0 && ((v.rows - 1) % every) * v.rowPitch >= 14) {
      context.fillText(`+${v.rows - 1}`, v.left - 14, v.y(v.rows - 1));
    }
    context.fillStyle = '#c62828';
    const half = Math.max(3, Math.min(v.rowPitch * 0.4, 6));
    for (const row of v.returns) {
      const y = v.y(row);
      context.beginPath();
      context.moveTo(v.left - 3, y);
      context.lineTo(v.left - 3 - 1.6 * half, y - half);
      context.lineTo(v.left - 3 - 1.6 * half, y + half);
      context.closePath();
      context.fill();
    }
  }

  // Ticks above the rows at every position of the cycle.
  function markCyclePositions(cycle) {
    const v = view;
    context.fillStyle = theme.ink;
    const width = Math.max(1.5, Math.min(v.pitch * 0.7, 6));
    for (let p = 0; p < model.size; ++p) {
      if (model.cycleOf[p] === cycle) context.fillRect(v.x(p) - width / 2, v.top - 12, width, 9);
    }
  }

  function layoutMap(box) {
    // The rows are still made: the listing and the test contract need them.
    core._explorer_rows(1);
    ui.listing.textContent = core.UTF8ToString(core._explorer_listing());
    const margin = { left: box.width < 480 ? 44 : 64, right: 12, top: 12, bottom: 40 };
    const side = Math.max(50, Math.min(box.width - margin.left - margin.right, box.height - margin.top - margin.bottom));
    const left = margin.left + (box.width - margin.left - margin.right - side) / 2;
    const top = margin.top;
    const size = model.size;
    const scale = side / size;
    ui.caption.textContent = 'One round as a map: a dot for every position of the deck, across at the ' +
      'position it holds before a round, up at the position its card holds after it. ' +
      'The straight runs are the passes of the deal; point at a dot to follow its cycle.';
    return {
      kind: 'map', box, left, top, side, scale,
      x: (position) => left + (position + 0.5) * scale,
      y: (position) => top + side - (position + 0.5) * scale,
    };
  }

  function paintMap() {
    const v = view;
    const size = model.size;
    const colors = model.colors[state.color];
    const { focus, focusCycle } = focused();
    context.strokeStyle = theme.line;
    context.lineWidth = 1;
    context.strokeRect(v.left, v.top, v.side, v.side);
    context.beginPath();
    context.moveTo(v.left, v.top + v.side);
    context.lineTo(v.left + v.side, v.top);
    context.setLineDash([4, 4]);
    context.stroke();
    context.setLineDash([]);
    const dot = Math.max(1.5, Math.min(v.scale * 0.8, 10));
    for (let p = 0; p < size; ++p) {
      const faded = focusCycle >= 0 && model.cycleOf[p] !== focusCycle;
      context.fillStyle = rgbaCss(colors[p], faded ? 0.15 : 1);
      context.fillRect(v.x(p) - dot / 2, v.y(model.goesTo[p]) - dot / 2, dot, dot);
    }
    context.fillStyle = theme.muted;
    context.font = '12px system-ui, "DejaVu Sans", sans-serif';
    context.textBaseline = 'top';
    context.textAlign = 'center';
    context.fillText('position before the round →', v.left + v.side / 2, v.top + v.side + 18);
    context.fillText('0', v.left, v.top + v.side + 4);
    context.fillText(String(size - 1), v.left + v.side, v.top + v.side + 4);
    context.save();
    context.translate(v.left - 16, v.top + v.side / 2);
    context.rotate(-Math.PI / 2);
    context.textBaseline = 'bottom';
    context.fillText('position after →', 0, 0);
    context.restore();
    if (focus === null) return;
    const length = model.cycleLength[focus];
    if (length > 64) {
      // A long cycle's cobweb would cover the map: its dots, larger, say it.
      const big = dot + 2;
      context.fillStyle = theme.ink;
      for (let p = 0; p < size; ++p) {
        if (model.cycleOf[p] === focusCycle) context.fillRect(v.x(p) - big / 2, v.y(model.goesTo[p]) - big / 2, big, big);
      }
      return;
    }
    // The cycle as a cobweb: from each dot across to the diagonal, then up or
    // down to the next position's dot.
    context.beginPath();
    let p = focus;
    context.moveTo(v.x(p), v.y(model.goesTo[p]));
    for (let i = 0; i < length; ++i) {
      const q = model.goesTo[p];
      context.lineTo(v.x(q), v.y(q));
      context.lineTo(v.x(q), v.y(model.goesTo[q]));
      p = q;
    }
    context.strokeStyle = theme.ink;
    context.lineWidth = 1.5;
    context.stroke();
  }

  function describeFocus() {
    const card = focusCard();
    if (card === null) {
      ui.info.textContent = 'Point at or tap a card to follow it; type a card into Follow card to do it by keyboard.';
      return;
    }
    const cycle = model.cycleOf[card];
    const length = model.cycleLength[card];
    const positions = [];
    for (let p = card, i = 0; i < Math.min(length, 16); ++i, p = model.goesTo[p]) positions.push(p);
    const route = `${positions.join(' → ')}${length > 16 ? ' → …' : length > 1 ? ` → ${card}` : ''}`;
    let where = '';
    if (view.kind === 'rows') {
      const heap = core.HEAP32;
      for (let p = 0; p < model.size; ++p) {
        if (heap[view.deck + p] === card) { where = ` is at position ${p} in round ${roundLabel(0, 40)};`; break; }
      }
    } else {
      where = ` goes from position ${card} to ${model.goesTo[card]} in one round;`;
    }
    ui.info.textContent = length === 1
      ? `Card ${card}${where} it never moves (a cycle of length 1).`
      : `Card ${card}${where} its cycle has length ${length} (cycle ${cycle + 1} of ${model.cycles}): ${route}.`;
  }

  // ---- input --------------------------------------------------------------

  function step(by, how = 'push') {
    show({ ...state, round: state.round + BigInt(by) }, how);
  }

  function stopPlaying() {
    if (playing === null) return;
    clearInterval(playing);
    playing = null;
    ui.play.setAttribute('aria-pressed', 'false');
    ui.play.textContent = 'Play';
  }

  function togglePlay() {
    if (playing !== null) { stopPlaying(); return; }
    ui.play.setAttribute('aria-pressed', 'true');
    ui.play.textContent = 'Pause';
    // One history entry for the whole run, so that Back goes to where it began.
    step(1, 'push');
    playing = setInterval(() => step(1, 'replace'), playInterval);
  }

  function applyHands() {
    const hands = parseHands(ui.hands.value);
    if (hands.error) { showError(hands.error, ui.hands); return; }
    showError('', null);
    stopPlaying();
    show({ ...state, hands: hands.value, card: null }, 'push');
  }

  function applyRound() {
    const round = parseRound(ui.round.value);
    if (round.error) { showError(round.error, ui.round); return; }
    showError('', null);
    stopPlaying();
    show({ ...state, round: round.value }, 'push');
  }

  function applyCard() {
    const card = parseCard(ui.card.value, model.size);
    if (card.error) { showError(card.error, ui.card); return; }
    showError('', null);
    show({ ...state, card: card.value }, 'push');
  }

  function onEnter(input, apply) {
    input.addEventListener('keydown', (event) => {
      if (event.key === 'Enter') { event.preventDefault(); apply(); }
    });
  }

  // The card under the pointer, or null.
  function cardAt(event) {
    const rect = ui.canvas.getBoundingClientRect();
    const x = event.clientX - rect.left, y = event.clientY - rect.top;
    const v = view;
    if (v.kind === 'rows') {
      const p = Math.floor((x - v.left) / v.pitch);
      const row = Math.floor((y - v.top) / v.rowPitch);
      if (p < 0 || p >= model.size || row < 0 || row >= v.rows) return null;
      return v.card(row, p);
    }
    const p = Math.floor((x - v.left) / v.scale);
    return p >= 0 && p < model.size ? p : null;
  }

  let paintQueued = false;
  function repaintSoon() {
    if (paintQueued) return;
    paintQueued = true;
    requestAnimationFrame(() => { paintQueued = false; paint(); });
  }

  function wire() {
    onEnter(ui.hands, applyHands);
    onEnter(ui.round, applyRound);
    onEnter(ui.card, applyCard);
    ui.previous.addEventListener('click', () => { stopPlaying(); step(-1); });
    ui.next.addEventListener('click', () => { stopPlaying(); step(1); });
    ui.play.addEventListener('click', togglePlay);
    for (const input of document.querySelectorAll('input[name="view"], input[name="color"]')) {
      input.addEventListener('change', () => {
        show({ ...state, [input.name]: input.value }, 'push');
      });
    }
    ui.canvas.addEventListener('pointermove', (event) => {
      const card = cardAt(event);
      if (card !== hover) { hover = card; repaintSoon(); }
    });
    ui.canvas.addEventListener('pointerleave', () => {
      if (hover !== null) { hover = null; repaintSoon(); }
    });
    ui.canvas.addEventListener('click', (event) => {
      const card = cardAt(event);
      hover = null;
      show({ ...state, card: card === state.card ? null : card }, 'push');
    });
    document.addEventListener('keydown', (event) => {
      if (event.altKey || event.ctrlKey || event.metaKey) return;
      const target = event.target;
      const typing = target instanceof HTMLInputElement && target.type === 'text';
      if (event.key === 'Escape' && state.card !== null) {
        show({ ...state, card: null }, 'push');
        return;
      }
      if (typing) return;
      if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
        if (target instanceof HTMLInputElement && target.type === 'radio') return;
        event.preventDefault();
        stopPlaying();
        step(event.key === 'ArrowRight' ? 1 : -1);
      } else if (event.key === ' ' && !(target instanceof HTMLButtonElement) && !(target instanceof HTMLInputElement)) {
        event.preventDefault();
        togglePlay();
      }
    });
    window.addEventListener('popstate', () => {
      stopPlaying();
      const { s, error } = fromSearch(location.search);
      showError(error, null);
      show(s, null);
    });
    let resizeQueued = false;
    window.addEventListener('resize', () => {
      if (resizeQueued) return;
      resizeQueued = true;
      requestAnimationFrame(() => { resizeQueued = false; setReady(false); draw(true); setReady(true); });
    });
    ui.save.addEventListener('click', savePicture);
    ui.copy.addEventListener('click', copyListing);
  }

  function savePicture() {
    const name = `deal-${state.hands}-hands-round-${roundLabel(0, 24).replace('…', '')}${state.view === 'map' ? '-map' : ''}.png`;
    // The canvas is drawn on a see-through ground; the file gets the page's.
    const picture = document.createElement('canvas');
    picture.width = ui.canvas.width;
    picture.height = ui.canvas.height;
    const ground = picture.getContext('2d');
    ground.fillStyle = theme.canvas;
    ground.fillRect(0, 0, picture.width, picture.height);
    ground.drawImage(ui.canvas, 0, 0);
    picture.toBlob((blob) => {
      if (!blob) return;
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = name;
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    }, 'image/png');
  }

  // As deal-after prints it: the listing and its newline.
  function copyListing() {
    const text = `${ui.listing.textContent}\n`;
    const done = (ok) => {
      ui.copy.textContent = ok ? 'Copied' : 'Select and copy';
      setTimeout(() => { ui.copy.textContent = 'Copy'; }, 1500);
    };
    const byHand = () => {
      const range = document.createRange();
      range.selectNodeContents(ui.listing);
      const selection = getSelection();
      selection.removeAllRanges();
      selection.addRange(range);
      let ok = false;
      try { ok = document.execCommand('copy'); } catch (e) { ok = false; }
      done(ok);
    };
    if (navigator.clipboard && window.isSecureContext) {
      navigator.clipboard.writeText(text).then(() => done(true), byHand);
    } else {
      byHand();
    }
  }

  // Timings for the benchmark: the mean of `times` runs, in milliseconds.
  function measure(times, run) {
    const start = performance.now();
    for (let i = 0; i < times; ++i) run(i);
    return (performance.now() - start) / times;
  }
  window.dealExplorer = {
    readyAt: null,
    // Where, in the canvas's CSS pixels, the rows view shows `position` of
    // row `row`: for tests that point at a card.
    pointOf: (row, position) => (view.kind === 'rows' ? { x: view.x(position), y: view.y(row) } : null),
    // A step as the Right arrow makes it: the deck computed and drawn.
    timeStep: (times) => measure(times, () => step(1, 'replace')),
    // A jump as far as the core goes: the round number reduced, the deck
    // put in order and its listing made.
    timeJump: (round, times) => measure(times, () => {
      core._explorer_parse_round(putText(round));
      core._explorer_rows(1);
      return core.UTF8ToString(core._explorer_listing());
    }),
    // The same jump with the whole view drawn.
    timeJumpDrawn: (round, times) => measure(times, (i) => show({ ...state, round: BigInt(round) + BigInt(i & 1) }, 'replace')),
  };

  createDealCore().then((module) => {
    core = module;
    wire();
    const { s, error } = fromSearch(location.search);
    showError(error, null);
    show(s, 'replace');
    window.dealExplorer.readyAt = performance.now();
  });
})();
