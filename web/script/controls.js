// The controls: the fields of the deal and the round, the buttons and the
// keys, the address as history, and the texts beside the picture. A typed
// value applies when Enter is pressed, when the field is left, or when a
// button is pressed; an error goes as soon as it no longer holds.

const ui = {
  hands: $('hands'), round: $('round'), card: $('card'), packets: $('packets'), cards: $('cards'),
  rest: $('rest'), firstCard: $('first-card'), bottomHand: $('bottom-hand'), speed: $('speed'),
  error: $('error'), play: $('play'), playing: $('playing'), routine: $('routine'),
};
const textFields = ['hands', 'round', 'card', 'packets', 'cards', 'routine'];

let playing = null; // the timer while playing

const setReady = (ready) => { document.body.dataset.ready = ready ? '1' : '0'; };

// Makes `next`, whose deal configure has taken, the state shown. `how` says
// what becomes of the address: 'push' makes a history entry, 'replace'
// rewrites the current one.
function show(next, how) {
  setReady(false);
  if (configure(next)) throw new Error('a state shown must be a deal the core takes');
  learn(next);
  if (next.card !== null && next.card >= model.size) next.card = null;
  trick = core._explorer_follow(next.card === null ? -1 : next.card) === 1;
  if (core._explorer_parse_round(putText(next.round.toString())) < 0) {
    // Following a card through a chosen pile: no round before 0.
    setFault(ui.round, parseRound(next.round.toString()).error);
    next.round = 0n;
    core._explorer_parse_round(putText('0'));
  }
  if (model.size > limits.maxPlayingCards) next.faces = false;
  // Another deal may change the lines above the canvas, and so its place;
  // what is said of the round, and the landscape, change only with the deal.
  const first = shown === null;
  const remeasure = first || dealKey(next) !== dealKey(state);
  const answers = remeasure || next.color !== state.color || next.faces !== state.faces;
  const across = remeasure || next.across !== state.across;
  if (cursor && remeasure) cursor = null;
  state = next;
  shown = state;
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
  if (answers) fillAnswers();
  draw(remeasure);
  $('command').textContent = `deal-after ${facesShown() ? '--faces ' : ''}` +
    `${model.options ? `${model.options} ` : ''}${model.count} ${shorten(state.round.toString(), 40)}`;
  if (across) drawLandscape();
  setReady(!dealing);
}

let shown = null; // the state last shown

function fillFields() {
  // A field with a fault keeps what was typed there.
  const fill = (name, value) => { if (!faults.has(ui[name])) ui[name].value = value; };
  fill('hands', String(state.hands));
  fill('round', state.round.toString());
  fill('card', state.card === null ? '' : facesShown() ? playingCard(state.card).text : String(state.card));
  fill('packets', state.packets);
  fill('cards', state.cards === null ? '' : String(state.cards));
  fill('rest', state.rest);
  fill('firstCard', state.firstCard);
  fill('bottomHand', state.bottomHand);
  fill('routine', state.routine);
  // A routine's deals carry their own hands, packets and gathering.
  for (const name of ['hands', 'packets', 'rest', 'firstCard', 'bottomHand']) ui[name].disabled = model.routine;
  for (const input of document.querySelectorAll('input[name="view"]')) input.checked = input.value === state.view;
  for (const input of document.querySelectorAll('input[name="color"]')) input.checked = input.value === state.color;
  for (const input of document.querySelectorAll('input[name="across"]')) {
    input.checked = input.value === (model.routine ? 'cards' : state.across);
    input.disabled = model.routine;
  }
  const most = core._explorer_most_hands();
  $('hands-hint').textContent = model.routine ? 'each deal move has its own' : `1 to ${most}`;
  $('cards-hint').textContent = model.routine
    ? `the routine's deck, 1 to ${limits.maxCards}; empty: ${limits.maxPlayingCards}`
    : state.cards === null
      ? `empty: ${model.size / Math.max(1, state.hands)} a hand` : `1 to ${limits.maxCards}; empty: every hand's packets`;
  $('round-hint').textContent = trick ? 'from 0 to 10¹⁸: the chosen pile follows the card'
    : `an integer of up to ${limits.maxRoundDigits} digits; negative runs back`;
  $('deal-round').disabled = !dealable() || state.view !== 'rows';
  $('deal-round').title = dealable()
    ? 'Deal this round card by card (D)'
    : `Decks of up to ${limits.maxDealtCards} cards in up to ${limits.maxDealtCards} hands are dealt on screen`;
  $('own-deal').disabled = model.ownDeal && !model.routine;
}

// The Playing cards box, ticked where faces are shown, and else saying why
// they cannot be: the address keeps asking for them.
function explainPlaying() {
  const why = model.size > limits.maxPlayingCards ? `a pack has ${limits.maxPlayingCards} cards`
    : state.faces && !facesFit() ? 'needs a wider window' : '';
  ui.playing.checked = state.faces && !why;
  ui.playing.disabled = Boolean(why);
  $('playing-why').textContent = why ? `(${why})` : '';
}

// The answers beside the picture: what the round is, whatever the round shown.
function fillAnswers() {
  $('period').textContent = model.period;
  $('period-unit').textContent = model.period === '1' ? 'round' : 'rounds';
  $('deck').textContent = dealWords();
  const parts = model.census.map(([length, count]) => `${count} of length ${length}`);
  $('cycles').textContent = `${model.cycles} ${model.cycles === 1 ? 'cycle' : 'cycles'}: ${parts.join(', ')}`;
  $('cycle-type').textContent = model.cycleType;
  $('sign').textContent = model.even ? 'even' : 'odd';
  $('fixed').textContent = model.fixed || 'none';
  $('gap').textContent = model.gap;
  $('facts-note').hidden = !model.follows;
  fillLegend();
}

// With cards colored by cycle, which color is which cycle: the moving
// cycles in order, and gray for the cards that never move.
function fillLegend() {
  const legend = $('legend');
  legend.hidden = state.color !== 'cycle';
  if (legend.hidden) return;
  legend.textContent = '';
  const colors = model.colors.cycle;
  const seen = new Set();
  const items = [];
  let fixed = 0;
  for (let p = 0; p < model.size; ++p) {
    const cycle = model.cycleOf[p];
    if (model.cycleLength[p] === 1) { ++fixed; continue; }
    if (seen.has(cycle)) continue;
    seen.add(cycle);
    items.push([colors[p], `from ${p}, length ${model.cycleLength[p]}`]);
  }
  const shown = items.slice(0, 24);
  if (fixed) shown.push([model.colors.cycle[model.cycleOf.findIndex((_, p) => model.cycleLength[p] === 1)], `${fixed} never moving`]);
  for (const [color, words] of shown) {
    const item = document.createElement('span');
    const swatch = document.createElement('span');
    swatch.className = 'swatch';
    swatch.style.background = rgbaCss(color);
    item.append(swatch, words);
    legend.append(item);
  }
  if (items.length > 24) legend.append(`… and ${items.length - 24} more cycles`);
}

// ---- faults -----------------------------------------------------------------

// What is wrong, field by field: every field with a fault is marked and says
// it on a line of its own above the picture, and keeps what was typed there
// until it is put right, while the others still apply; and what an address
// got wrong.
const faults = new Map(); // the field's element: its message
let addressFault = '';
const fieldNames = [...textFields, 'rest', 'firstCard', 'bottomHand'];

function renderFaults() {
  ui.error.textContent = [addressFault, ...faults.values()].filter(Boolean).join('\n');
  for (const name of fieldNames) ui[name].setAttribute('aria-invalid', String(faults.has(ui[name])));
}

function setFault(input, message) {
  if (message) faults.set(input, message); else faults.delete(input);
  if (!message) addressFault = '';
  renderFaults();
}

// An address read afresh: its fault, if any, and none of the fields'.
function showAddressFault(message) {
  addressFault = message;
  faults.clear();
  renderFaults();
}

// ---- reading the fields -----------------------------------------------------

// The deal shown with one field's value, as text where the core reads it.
const dealFields = ['hands', 'packets', 'cards', 'rest', 'firstCard', 'bottomHand', 'routine'];
function withField(name) {
  const value = ui[name].value.trim();
  return { ...state, [name]: name === 'cards' && value === '' ? null : value };
}

// Checks a deal without showing it: the fault, or the deal with its numbers.
function checkDeal(candidate) {
  const fault = configure(candidate);
  configure(state); // the core keeps the deal shown
  if (fault) return { fault };
  return { deal: withNumbers(candidate) };
}

// Shows `candidate`, or says what is wrong with it beside `input`, the field
// or button it came from, and keeps the view.
function applyDeal(candidate, input) {
  const { fault, deal } = checkDeal(candidate);
  if (fault) {
    setFault(input, `${fieldLabel(fault.field)}: ${fault.message}.`);
    return false;
  }
  setFault(input, '');
  if (dealKey(deal) === dealKey(state)) return true;
  stopPlaying();
  stopDealing();
  hover = null;
  show(deal, 'push');
  return true;
}

const applyField = (name) => applyDeal(withField(name), ui[name]);

function applyRound() {
  const round = parseRound(ui.round.value);
  setFault(ui.round, round.error);
  if (round.error) return false;
  if (round.value === state.round) return true;
  stopPlaying();
  show({ ...state, round: round.value }, 'push');
  return true;
}

function applyCard() {
  const card = parseCard(ui.card.value);
  setFault(ui.card, card.error);
  if (card.error) return false;
  if (card.value !== state.card) show({ ...state, card: card.value }, 'push');
  return true;
}

// Every typed field: applied on Enter and when left; its fault gone as soon
// as what is typed no longer has it.
function wireField(input, apply, stillWrong) {
  input.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') { event.preventDefault(); apply(); }
  });
  input.addEventListener('change', () => apply());
  input.addEventListener('input', () => {
    if (faults.has(input) && !stillWrong()) setFault(input, '');
  });
}

// ---- rounds ------------------------------------------------------------------

function step(by, how = 'push') {
  show({ ...state, round: state.round + BigInt(by) }, how);
}

function goTo(round) {
  stopPlaying();
  show({ ...state, round }, 'push');
}

const playInterval = () => Math.round(800 * 0.7 ** (Number(ui.speed.value) - 1));

function stopPlaying() {
  if (playing === null) return;
  clearInterval(playing);
  playing = null;
  ui.play.setAttribute('aria-pressed', 'false');
  ui.play.textContent = 'Play';
}

function startPlaying() {
  // One history entry for the whole run, so that Back goes to where it began.
  playing = setInterval(() => step(1, 'replace'), playInterval());
}

function togglePlay() {
  if (playing !== null) { stopPlaying(); return; }
  ui.play.setAttribute('aria-pressed', 'true');
  ui.play.textContent = 'Pause';
  step(1, 'push');
  startPlaying();
}

function describeSpeed() {
  const perSecond = 1000 / playInterval();
  $('speed-hint').textContent = `${perSecond < 10 ? perSecond.toFixed(1) : Math.round(perSecond)} rounds a second`;
}

// ---- the picture ------------------------------------------------------------

// The card under the pointer, or null.
function cardAt(event) {
  const rect = canvas.getBoundingClientRect();
  const x = event.clientX - rect.left, y = event.clientY - rect.top;
  const v = view;
  if (dealing) return null;
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
  requestAnimationFrame(() => { paintQueued = false; if (!dealing) paint(); });
}

// Picking a card by keyboard: Enter on the picture starts it at the card
// followed (or the first), the arrows move, Enter follows, Escape stops.
function startPicking() {
  const v = view;
  if (v.kind === 'rows') {
    const p = state.card !== null ? positionOf(0, state.card) : 0;
    cursor = { kind: 'rows', position: Math.max(0, p), row: 0 };
  } else {
    cursor = { kind: 'map', position: state.card !== null ? state.card : 0 };
  }
  repaintSoon();
}

// Picking starts at the place clicked, as a click that gave the picture
// the focus leaves it.
function placeCursor(event) {
  const rect = canvas.getBoundingClientRect();
  const x = event.clientX - rect.left, y = event.clientY - rect.top;
  const v = view;
  cursor = v.kind === 'rows'
    ? { kind: 'rows', position: Math.floor((x - v.left) / v.pitch), row: Math.floor((y - v.top) / v.rowPitch) }
    : { kind: 'map', position: Math.floor((x - v.left) / v.scale) };
  repaintSoon();
}

function movePicking(key) {
  const v = view;
  const by = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] }[key];
  cursor.position = Math.max(0, Math.min(model.size - 1, cursor.position + by[0]));
  if (v.kind === 'rows') cursor.row = Math.max(0, Math.min(v.rows - 1, cursor.row + by[1]));
  repaintSoon();
}

function pickAtCursor() {
  const card = view.kind === 'rows' ? view.card(cursor.row, cursor.position) : cursor.position;
  cursor = null;
  show({ ...state, card }, 'push');
}

// ---- presenting ----------------------------------------------------------------

// The picture alone in the window, for the back row of a classroom: the keys
// still work, and Escape leaves.
function setPresenting(on) {
  if (presenting === on) return;
  presenting = on;
  document.body.classList.toggle('presenting', on);
  $('present').setAttribute('aria-pressed', String(on));
  if (on) canvas.focus({ preventScroll: true });
  if (dealing) {
    // The round being dealt goes on, at the new size.
    fitCanvas(true);
    paintDeal(dealing.idle ? 1 : 0);
    wake();
    return;
  }
  setReady(false);
  draw(true);
  if (!on) drawLandscape();
  setReady(true);
}

// ---- the keys ------------------------------------------------------------------

function onKey(event) {
  if (event.altKey || event.ctrlKey || event.metaKey) return;
  const target = event.target;
  const typing = target instanceof HTMLInputElement && (target.type === 'text' || target.type === 'range');
  const choosing = target instanceof HTMLSelectElement || (target instanceof HTMLInputElement && target.type === 'radio');
  const pressing = target instanceof HTMLButtonElement || (target instanceof HTMLInputElement && target.type === 'checkbox');
  const key = event.key;
  if (dealing) {
    // While the cards move, the keys do what the words under the view say,
    // whichever control has the focus: the Finish button keeps it after the
    // click that started the round.
    if (typing && key !== 'Escape') return;
    if (key === 'Escape') stopDealing();
    else if (key === 'p' || key === 'P') setPresenting(!presenting);
    else if (key === 'ArrowRight' || key === '.') dealStep();
    else if (key === ' ') toggleDealing();
    else if (key === 'd' || key === 'D') finishDealing();
    else return;
    event.preventDefault();
    return;
  }
  if (cursor && target === canvas) {
    if (key.startsWith('Arrow')) movePicking(key);
    else if (key === 'Enter' || key === ' ') pickAtCursor();
    else if (key === 'Escape') { cursor = null; repaintSoon(); } else return;
    event.preventDefault();
    return;
  }
  if (key === 'Escape' && presenting) {
    setPresenting(false);
    return;
  }
  if (key === 'Escape' && state.card !== null) {
    show({ ...state, card: null }, 'push');
    return;
  }
  if (typing) return;
  if ((key === 'p' || key === 'P') && !choosing) {
    setPresenting(!presenting);
    return;
  }
  if (target === canvas && key === 'Enter') {
    event.preventDefault();
    startPicking();
    return;
  }
  if ((key === 'ArrowLeft' || key === 'ArrowRight') && !choosing) {
    event.preventDefault();
    stopPlaying();
    step(key === 'ArrowRight' ? 1 : -1);
  } else if ((key === 'PageUp' || key === 'PageDown') && !choosing) {
    event.preventDefault();
    stopPlaying();
    step(key === 'PageDown' ? 10 : -10);
  } else if ((key === 'Home' || key === 'End') && !choosing) {
    event.preventDefault();
    goTo(key === 'Home' ? 0n : periodMinusOne());
  } else if (key === ' ' && !pressing && !choosing) {
    event.preventDefault();
    togglePlay();
  } else if ((key === 'd' || key === 'D') && !choosing) {
    startDealing();
  }
}

// ---- copying ------------------------------------------------------------------

function copyText(text, button, label) {
  const done = (ok) => {
    button.textContent = ok ? 'Copied' : 'Select and copy';
    setTimeout(() => { button.textContent = label; }, 1500);
  };
  const byHand = () => {
    const area = document.createElement('textarea');
    area.value = text;
    area.setAttribute('readonly', '');
    area.style.position = 'fixed';
    area.style.opacity = '0';
    document.body.append(area);
    area.select();
    let ok = false;
    try { ok = document.execCommand('copy'); } catch (e) { ok = false; }
    area.remove();
    done(ok);
  };
  if (navigator.clipboard && window.isSecureContext) {
    navigator.clipboard.writeText(text).then(() => done(true), byHand);
  } else {
    byHand();
  }
}

// ---- wiring -------------------------------------------------------------------

function fillChoices() {
  [ui.rest, ui.firstCard, ui.bottomHand].forEach((select, i) => {
    for (const name of limits.choices[i]) select.append(new Option(name, name));
  });
}

// The field the move buttons add to: the routine, or the moves allowed once
// that field has been used.
let receiving = null;
function receiveMoves(input) {
  receiving = input;
  for (const field of [ui.routine, $('solve-moves')]) field.classList.toggle('receiving', field === input);
}

// A button for every move a routine takes, as the core names them, that
// appends the move with its defaults: nobody must learn the grammar first.
function fillMoves() {
  const box = $('moves');
  for (let i = 0; i < core._explorer_move_count(); ++i) {
    const name = coreText(core._explorer_move_name(i));
    const example = coreText(core._explorer_move_example(i));
    const button = document.createElement('button');
    button.type = 'button';
    button.dataset.testid = `move-${name.replace(/ /g, '-')}`;
    button.textContent = name[0].toUpperCase() + name.slice(1);
    button.title = `Append “${example}”: ${coreText(core._explorer_move_help(i))}`;
    button.addEventListener('click', () => {
      if (receiving === $('solve-moves')) {
        const typed = receiving.value.trim().replace(/\|\s*$/, '');
        receiving.value = typed ? `${typed} | ${example}` : example;
        return;
      }
      const typed = ui.routine.value.trim().replace(/;\s*$/, '');
      ui.routine.value = typed ? `${typed}; ${example}` : example;
      applyField('routine');
    });
    box.append(button);
  }
}

// ---- finding a routine --------------------------------------------------------

// The fewest moves, among those allowed, that bring the followed card from
// where it starts to the position asked, as deal-solve finds them; the
// routine found is dealt with a click.
let found = null;
function solveFor() {
  const answer = $('solve-answer');
  found = null;
  $('solve-load').hidden = true;
  const card = state.card;
  const toText = $('solve-to').value.trim();
  const to = Number(toText);
  if (card === null) {
    answer.textContent = 'Follow a card first: click it, or type it into Follow card.';
  } else if (!/^\d{1,5}$/.test(toText) || to >= model.size) {
    answer.textContent = `Bring it to position: type a position from 0 to ${model.size - 1}.`;
  } else {
    const length = core._explorer_solve(putText($('solve-moves').value.trim()), card, to);
    const name = cardName(card);
    if (length === -2) answer.textContent = `The moves: ${coreText(core._explorer_message())}.`;
    else if (length === -1) answer.textContent = `No routine of these moves brings card ${name} from position ${card} to ${to}.`;
    else if (length === 0) answer.textContent = `Card ${name} starts at position ${to}: no move is needed.`;
    else {
      found = coreText(core._explorer_solved());
      answer.textContent = `${length} move${length === 1 ? '' : 's'} bring card ${name} from position ${card} to ${to}: ${found}`;
      $('solve-load').hidden = false;
    }
  }
}

function wire() {
  fillChoices();
  $('controls').addEventListener('submit', (event) => event.preventDefault());
  for (const name of ['hands', 'packets', 'cards', 'routine']) {
    wireField(ui[name], () => applyField(name), () => Boolean(checkDeal(withField(name)).fault));
  }
  for (const name of ['rest', 'firstCard', 'bottomHand']) ui[name].addEventListener('change', () => applyField(name));
  wireField(ui.round, applyRound, () => Boolean(parseRound(ui.round.value).error));
  wireField(ui.card, applyCard, () => Boolean(parseCard(ui.card.value).error));
  fillMoves();
  ui.routine.addEventListener('focus', () => receiveMoves(ui.routine));
  $('solve-moves').addEventListener('focus', () => receiveMoves($('solve-moves')));
  $('solve-form').addEventListener('submit', (event) => { event.preventDefault(); solveFor(); });
  $('solve-load').addEventListener('click', () => {
    if (found === null) return;
    ui.routine.value = found;
    applyDeal({ ...state, routine: found, cards: model.size, round: 0n }, ui.routine);
  });
  $('own-deal').addEventListener('click', () => {
    for (const name of dealFields) faults.delete(ui[name]);
    applyDeal({ ...state, packets: defaults.packets, routine: '', cards: null, rest: defaults.rest,
      firstCard: defaults.firstCard, bottomHand: defaults.bottomHand,
      hands: Math.min(state.hands, limits.maxOwnHands) }, ui.hands);
  });
  // A button applies what a field holds before it does its own work.
  const thenRound = (work) => () => {
    if (dealing) return;
    if (ui.round.value.trim() !== state.round.toString() && !applyRound()) return;
    stopPlaying();
    work();
  };
  $('previous').addEventListener('click', thenRound(() => step(-1)));
  $('next').addEventListener('click', thenRound(() => step(1)));
  $('first').addEventListener('click', thenRound(() => goTo(0n)));
  $('last').addEventListener('click', thenRound(() => goTo(periodMinusOne())));
  ui.play.addEventListener('click', () => {
    if (dealing || (ui.round.value.trim() !== state.round.toString() && !applyRound())) return;
    togglePlay();
  });
  ui.speed.addEventListener('input', () => {
    describeSpeed();
    if (playing !== null) { clearInterval(playing); startPlaying(); }
  });
  $('deal-round').addEventListener('click', () => (dealing ? finishDealing() : startDealing()));
  ui.playing.addEventListener('change', () => show({ ...state, faces: ui.playing.checked }, 'push'));
  for (const input of document.querySelectorAll('input[name="view"], input[name="color"]')) {
    input.addEventListener('change', () => {
      stopDealing();
      show({ ...state, [input.name]: input.value }, 'push');
    });
  }
  canvas.addEventListener('pointermove', (event) => {
    const card = cardAt(event);
    if (card !== hover) { hover = card; repaintSoon(); }
  });
  canvas.addEventListener('pointerleave', () => {
    if (hover !== null) { hover = null; repaintSoon(); }
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
    if (dealing) return;
    if (focusing) {
      focusing = false;
      if (card !== null) placeCursor(event);
      return;
    }
    hover = null;
    cursor = null;
    show({ ...state, card: card === state.card ? null : card }, 'push');
  });
  document.addEventListener('keydown', onKey);
  // A button pressed by Space acts when the key comes up: while dealing,
  // Space has already paused or played.
  document.addEventListener('keyup', (event) => {
    if (dealing && event.key === ' ' && event.target instanceof HTMLButtonElement) event.preventDefault();
  });
  window.addEventListener('popstate', () => {
    stopPlaying();
    stopDealing();
    const { s, error } = fromSearch(location.search);
    showAddressFault(error);
    show(s, null);
  });
  let resizeQueued = false;
  window.addEventListener('resize', () => {
    if (resizeQueued) return;
    resizeQueued = true;
    requestAnimationFrame(() => {
      resizeQueued = false;
      if (dealing) return;
      setReady(false);
      draw(true);
      drawLandscape();
      setReady(true);
    });
  });
  $('present').addEventListener('click', () => setPresenting(!presenting));
  $('save').addEventListener('click', () => savePicture('png'));
  $('save-svg').addEventListener('click', () => savePicture('svg'));
  $('copy').addEventListener('click', () => copyText(`${$('listing').textContent}\n`, $('copy'), 'Copy'));
  $('copy-gap').addEventListener('click', () => copyText(`${model.gap}\n`, $('copy-gap'), 'Copy'));
  $('copy-link').addEventListener('click', () => copyText(location.href, $('copy-link'), 'Copy link'));
  wireLandscape();
  describeSpeed();
}
