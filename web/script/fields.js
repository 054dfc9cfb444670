// The fields of the deal and the round, and the one way a state is shown: a
// typed value applies when Enter is pressed, when the field is left, or when
// a button is pressed; a fault goes as soon as it no longer holds, and the
// view stays meanwhile.

const ui = {
  hands: $('hands'), round: $('round'), card: $('card'), packets: $('packets'), cards: $('cards'),
  rest: $('rest'), firstCard: $('first-card'), bottomHand: $('bottom-hand'), speed: $('speed'),
  error: $('error'), play: $('play'), playing: $('playing'), routine: $('routine'), deck: $('deck'),
  seed: $('seed'),
};
const textFields = ['hands', 'round', 'card', 'packets', 'cards', 'routine', 'deck', 'seed'];

const setReady = (ready) => { document.body.dataset.ready = ready ? '1' : '0'; };

// Makes `next`, whose deal the core takes, the state shown. `how` says what
// becomes of the address: 'push' makes a history entry, 'replace' rewrites
// the current one.
function show(next, how) {
  setReady(false);
  // A deal learnt has been taken; only a new one is checked again.
  if (dealKey(next) !== page.learnt && checkDeal(next)) {
    throw new Error('a state shown must be a deal the core takes');
  }
  learn(next);
  const { model, facts } = page;
  if (next.card !== null && next.card >= model.size) next = { ...next, card: null };
  // The other cards followed go with the first, and with a deck too small
  // for them.
  if (next.card === null || next.more.some((c) => c >= model.size)) next = { ...next, more: [] };
  if (model.size > facts.limits.maxPlayingCards) next = { ...next, faces: false };
  // A round drawn afresh each time has no map and no cycles to color by.
  if (model.chance) next = { ...next, view: 'rows', color: 'start' };
  // Another deal may change the lines above the canvas, and so its place;
  // what is said of the round, and the landscape, change only with the deal.
  const previous = page.state;
  const remeasure = page.shown === null || dealKey(next) !== dealKey(previous);
  const answers = remeasure || next.color !== previous.color || next.faces !== previous.faces ||
    next.fromTop !== previous.fromTop;
  const across = remeasure || next.across !== previous.across;
  update({ state: next, shown: next, cursor: page.cursor && remeasure ? null : page.cursor,
    trick: model.follows && next.card !== null });
  fillFields();
  if (answers) fillAnswers();
  // The rows are asked for as the view is drawn: a round the core refuses
  // there gives way to round 0.
  draw(remeasure);
  if (how) {
    const url = toSearch(page.state);
    try {
      if (how === 'push') history.pushState(null, '', url);
      else history.replaceState(null, '', url);
    } catch (e) {
      // Some browsers keep the address of a file opened from disk fixed;
      // the view still works, it just cannot be bookmarked there.
    }
  }
  showCommand();
  if (across) drawLandscape();
  if (remeasure) drawMixing();
  // A landscape still being worked out says when it is done.
  setReady(!page.dealing && landscapeDone());
}

function fillFields() {
  const { state, model, facts, faults } = page;
  const limits = facts.limits;
  // A field with a fault keeps what was typed there.
  const fill = (name, value) => { if (!faults.has(ui[name])) ui[name].value = value; };
  fill('hands', String(state.hands));
  fill('round', state.round.toString());
  fill('card', state.card === null ? ''
    : [state.card, ...state.more].map(cardLabel).join(','));
  // The solver's card is the card followed, until another is typed there.
  const solveCard = $('solve-card');
  if (solveCard.getAttribute('aria-invalid') !== 'true' && document.activeElement !== solveCard) {
    solveCard.value = state.card === null ? '' : cardLabel(state.card);
  }
  fill('deck', state.deck);
  fill('packets', state.packets);
  fill('cards', state.cards === null ? '' : String(state.cards));
  fill('rest', state.rest);
  fill('firstCard', state.firstCard);
  fill('bottomHand', state.bottomHand);
  fill('routine', state.routine);
  fill('seed', state.seed);
  $('seed-field').hidden = !model.chance;
  $('new-seed').hidden = !model.chance;
  $('landscape-section').hidden = model.chance;
  for (const input of document.querySelectorAll('input[name="view"][value="map"], input[name="color"][value="cycle"]')) {
    input.disabled = model.chance;
    input.parentElement.title = model.chance ? 'A round with moves by chance is drawn afresh each time: it has no map and no cycles' : '';
  }
  $('last').disabled = model.chance;
  // A routine's deals carry their own hands, packets and gathering.
  for (const name of ['hands', 'packets', 'rest', 'firstCard', 'bottomHand']) ui[name].disabled = model.routine;
  $('from-top').checked = state.fromTop;
  $('solve-to').previousElementSibling.textContent = state.fromTop ? 'to place from the top' : 'to position';
  for (const input of document.querySelectorAll('input[name="view"]')) input.checked = input.value === state.view;
  for (const input of document.querySelectorAll('input[name="color"]')) input.checked = input.value === state.color;
  for (const input of document.querySelectorAll('input[name="across"]')) {
    input.checked = input.value === (model.routine ? 'cards' : state.across);
    input.disabled = model.routine;
  }
  $('hands-hint').textContent = model.routine ? 'each deal move has its own' : `1 to ${model.mostHands}`;
  $('cards-hint').textContent = model.routine
    ? `the routine's deck, 1 to ${limits.maxCards}; empty: ${limits.maxPlayingCards}`
    : state.cards === null
      ? `empty: ${model.size / Math.max(1, state.hands)} a hand` : `1 to ${limits.maxCards}; empty: every hand's packets`;
  $('round-hint').textContent = model.chance ? `from 0 to ${limits.maxChanceRounds}, each drawn from the seed`
    : page.trick ? 'from 0 to 10¹⁸: the chosen pile follows the card'
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
  const { state, model, facts } = page;
  const why = model.size > facts.limits.maxPlayingCards ? `a pack has ${facts.limits.maxPlayingCards} cards`
    : state.faces && !facesFit() ? 'needs a wider window' : '';
  ui.playing.checked = state.faces && !why;
  ui.playing.disabled = Boolean(why);
  $('playing-why').textContent = why ? `(${why})` : '';
}

// The answers beside the picture: what the round is, whatever the round shown.
function fillAnswers() {
  const model = page.model;
  $('period').textContent = model.period;
  $('period-unit').textContent = model.period === '1' ? 'round' : 'rounds';
  $('deck-facts').textContent = dealWords();
  const parts = model.census.map(([length, count]) => `${count} of length ${length}`);
  $('cycles').textContent = `${model.cycles} ${model.cycles === 1 ? 'cycle' : 'cycles'}: ${parts.join(', ')}`;
  $('cycle-type').textContent = model.cycleType;
  $('sign').textContent = model.even ? 'even' : 'odd';
  // Counted from the top, the places of the fixed positions, top first.
  $('fixed').textContent = !model.fixed ? 'none' : !page.state.fromTop ? model.fixed
    : `${model.fixed.split(' ').map((p) => model.size - Number(p)).reverse().join(' ')} from the top`;
  $('gap').textContent = model.gap;
  $('facts-note').hidden = !model.follows;
  $('chance-note').hidden = !model.chance;
  if (model.chance) {
    // Each round is drawn afresh: no period, no cycles of its own.
    for (const id of ['period', 'cycles', 'cycle-type', 'sign', 'fixed', 'gap']) $(id).textContent = '—';
    $('period-unit').textContent = '';
  }
  fillLegend();
}

// With cards colored by cycle, which color is which cycle: the moving
// cycles in order, and gray for the cards that never move.
function fillLegend() {
  const { state, model } = page;
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
  const listed = items.slice(0, 24);
  if (fixed) listed.push([model.colors.cycle[model.cycleOf.findIndex((_, p) => model.cycleLength[p] === 1)], `${fixed} never moving`]);
  for (const [color, words] of listed) {
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
const fieldNames = [...textFields, 'rest', 'firstCard', 'bottomHand'];

function renderFaults() {
  const { faults, addressFault } = page;
  ui.error.textContent = [addressFault, ...faults.values()].filter(Boolean).join('\n');
  for (const name of fieldNames) markFault(ui[name], faults.get(ui[name]) || '');
}

// A field bordered red, its fault said beside it too, where the eye is when
// typing; neither where `message` is empty.
function markFault(input, message) {
  input.setAttribute('aria-invalid', String(message !== ''));
  const box = input.closest('.field');
  if (!box) return;
  let note = box.querySelector('.field-fault');
  if (!note) {
    note = document.createElement('span');
    note.className = 'field-fault';
    note.dataset.testid = `${input.id}-fault`;
    box.append(note);
  }
  note.textContent = message;
  note.hidden = message === '';
}

function setFault(input, message) {
  const faults = new Map(page.faults);
  if (message) faults.set(input, message); else faults.delete(input);
  update({ faults, addressFault: message ? page.addressFault : '' });
  renderFaults();
}

// An address read afresh: its fault, if any, and none of the fields'.
function showAddressFault(message) {
  update({ addressFault: message, faults: new Map() });
  renderFaults();
}

// ---- reading the fields -----------------------------------------------------

// The deal shown with one field's value, as text where the core reads it.
const dealFieldNames = ['hands', 'packets', 'cards', 'rest', 'firstCard', 'bottomHand', 'routine', 'deck', 'seed'];
function withField(name) {
  const value = ui[name].value.trim();
  return { ...page.state, [name]: name === 'cards' && value === '' ? null : value };
}

// A command the programs take that answers for what is shown: the listing,
// or, where a chosen pile follows a card, where that card is, as deal-after
// --where says (it lists no deck that depends on one card).
function showCommand() {
  const { model, state } = page;
  const round = shorten(state.round.toString(), 40);
  const options = model.options ? `${model.options} ` : '';
  let label = 'The same from a terminal:', command;
  const seed = model.chance ? `--seed ${model.seed} ` : '';
  if (!model.follows) {
    command = `deal-after ${seed}${facesShown() ? '--faces ' : ''}${options}${model.count} ${round}`;
  } else if (state.card === null) {
    label = 'A chosen pile follows one card: follow one for the command that says where it is.';
    command = '';
  } else {
    label = 'Where the followed card is, from a terminal:';
    command = `deal-after ${seed}${options}${state.fromTop ? '--from-top ' : ''}--where ${cardNumber(state.card)} ` +
      `${model.count} ${round}`;
  }
  $('command-label').textContent = label;
  $('command').textContent = command;
}

// Shows `candidate`, or says what is wrong with it beside `input`, the field
// or button it came from, and keeps the view.
function applyDeal(candidate, input) {
  const fault = checkDeal(candidate);
  if (fault) {
    setFault(input, `${fieldLabel(fault.field)}: ${fault.message}.`);
    return false;
  }
  setFault(input, '');
  const deal = withNumbers(candidate);
  if (dealKey(deal) === dealKey(page.state)) return true;
  stopPlaying();
  stopDealing();
  update({ hover: null });
  show(deal, 'push');
  return true;
}

const applyField = (name) => applyDeal(withField(name), ui[name]);

function applyRound() {
  const round = parseRound(ui.round.value);
  setFault(ui.round, round.error);
  if (round.error) return false;
  if (round.value === page.state.round) return true;
  stopPlaying();
  show({ ...page.state, round: round.value }, 'push');
  return true;
}

function applyCard() {
  const card = parseCards(ui.card.value);
  setFault(ui.card, card.error);
  if (card.error) return false;
  const { state } = page;
  if (card.value !== state.card || card.more.join() !== state.more.join()) {
    show({ ...state, card: card.value, more: card.more }, 'push');
  }
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
    if (page.faults.has(input) && !stillWrong()) setFault(input, '');
  });
}

function fillChoices() {
  [ui.rest, ui.firstCard, ui.bottomHand].forEach((select, i) => {
    for (const name of page.facts.choices[i]) select.append(new Option(name, name));
  });
}

// ---- rounds ------------------------------------------------------------------

function step(by, how = 'push') {
  show({ ...page.state, round: page.state.round + BigInt(by) }, how);
}

function goTo(round) {
  stopPlaying();
  show({ ...page.state, round }, 'push');
}

const playInterval = () => Math.round(800 * 0.7 ** (Number(ui.speed.value) - 1));

function stopPlaying() {
  if (page.playing === null) return;
  clearInterval(page.playing);
  update({ playing: null });
  ui.play.setAttribute('aria-pressed', 'false');
  ui.play.textContent = 'Play';
}

function startPlaying() {
  // One history entry for the whole run, so that Back goes to where it began.
  update({ playing: setInterval(() => step(1, 'replace'), playInterval()) });
}

function togglePlay() {
  if (page.playing !== null) { stopPlaying(); return; }
  ui.play.setAttribute('aria-pressed', 'true');
  ui.play.textContent = 'Pause';
  step(1, 'push');
  startPlaying();
}

function describeSpeed() {
  const perSecond = 1000 / playInterval();
  $('speed-hint').textContent = `${perSecond < 10 ? perSecond.toFixed(1) : Math.round(perSecond)} rounds a second`;
}
