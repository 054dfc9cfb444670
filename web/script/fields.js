// The fields of the deal and the round, and the one way a state is shown: a
// typed value applies when Enter is pressed, when the field is left, or when
// a button is pressed; a fault goes as soon as it no longer holds, and the
// view stays meanwhile.

import { dealable, stopDealing } from './dealt.js';
import { $ } from './dom.js';
import { cardLabel, dealWords, draw, facesShown, rgbaCss, setWords } from './draw.js';
import { drawLandscape, settled, superscript } from './landscape.js';
import { drawMixing } from './mixing.js';
import { page, update } from './page.js';
import { listStacks, typedDeck } from './stacks.js';
import {
  checkDeal, dealKey, fieldLabel, learn, parseCards, parseRound, toSearch, withNumbers,
} from './state.js';

export const ui = {
  hands: $('hands'), round: $('round'), card: $('card'), packets: $('packets'), cards: $('cards'),
  rest: $('rest'), firstCard: $('first-card'), bottomHand: $('bottom-hand'), speed: $('speed'),
  error: $('error'), play: $('play'), playing: $('playing'), routine: $('routine'), deck: $('deck'),
  seed: $('seed'),
};
export const textFields = ['hands', 'round', 'card', 'packets', 'cards', 'routine', 'deck', 'seed'];

export const setReady = (ready) => { document.body.dataset.ready = ready ? '1' : '0'; };

// Makes `next`, whose deal the core takes, the state shown. `how` says what
// becomes of the address: 'push' makes a history entry, 'replace' rewrites
// the current one.
export function show(next, how) {
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
  if (model.size > facts.table.max_playing_cards) next = { ...next, faces: false };
  // A round drawn afresh each time has no map and no cycles to color by.
  if (model.chance) next = { ...next, view: 'rows', color: 'start' };
  // Another deal may change the lines above the canvas, and so its place;
  // what is said of the round, and the landscape, change only with the deal.
  const previous = page.state;
  const remeasure = page.shown === null || dealKey(next) !== dealKey(previous);
  const answers = remeasure || next.color !== previous.color || next.faces !== previous.faces ||
    next.fromTop !== previous.fromTop;
  const across = remeasure || next.across !== previous.across;
  update({ state: next, shown: next, notice: '', cursor: page.cursor && remeasure ? null : page.cursor,
    trick: model.follows && next.card !== null });
  // Answers about the deal shown (the group of its moves) go with it.
  if (remeasure) document.dispatchEvent(new Event('deal-changed'));
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
  setReady(!page.dealing && settled());
}

function fillFields() {
  const { state, model, facts, faults } = page;
  const table = facts.table;
  // A field with a fault keeps what was typed there.
  const fill = (name, value) => { if (!faults.has(ui[name])) ui[name].value = value; };
  fill('hands', String(state.hands));
  fill('round', state.round.toString());
  // A card keeps the name it was typed by (7S, 12), where it names the cards
  // followed.
  const followed = String(state.card === null ? [] : [state.card, ...state.more]);
  const names = (text) => { const read = parseCards(text, state); return read.error ? null : String(read.value === null ? [] : [read.value, ...read.more]); };
  if (names(ui.card.value) !== followed) fill('card', [state.card, ...state.more].filter((c) => c !== null).map(cardLabel).join(','));
  // The solver's card is the card followed, until another is typed there.
  const solveCard = $('solve-card');
  if (solveCard.getAttribute('aria-invalid') !== 'true' && document.activeElement !== solveCard &&
      names(solveCard.value) !== String(state.card === null ? [] : [state.card])) {
    solveCard.value = state.card === null ? '' : cardLabel(state.card);
  }
  fill('deck', state.stack || state.deck);
  listStacks(state.stack);
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
    ? `the routine's deck, 1 to ${table.max_cards}; empty: ${table.max_playing_cards}`
    : state.cards === null
      ? `empty: ${model.size / Math.max(1, state.hands)} a hand` : `1 to ${table.max_cards}; empty: every hand's packets`;
  $('round-hint').textContent = model.chance ? `from 0 to ${table.max_chance_rounds}, each drawn from the seed`
    : page.trick ? `from 0 to 10${superscript(Math.round(Math.log10(table.max_trick_round)))}: the chosen pile follows the card`
    : `an integer of up to ${table.max_round_digits} digits; negative runs back`;
  $('deal-round').disabled = !dealable() || state.view !== 'rows';
  $('deal-round').title = dealable()
    ? 'Deal this round card by card (D)'
    : `Decks of up to ${table.max_dealt_cards} cards in up to ${table.max_dealt_cards} hands are dealt on screen`;
  $('own-deal').disabled = model.ownDeal && !model.routine;
}

// The Playing cards box, ticked where faces are shown, and else saying why
// they cannot be: the address keeps asking for them. Where the rows are too
// narrow for faces, they draw dots, and the words name the cards.
export function explainPlaying() {
  const { state, model, facts } = page;
  const why = model.size > facts.table.max_playing_cards ? `a pack has ${facts.table.max_playing_cards} cards` : '';
  ui.playing.checked = state.faces && !why;
  ui.playing.disabled = Boolean(why);
  $('playing-why').textContent = why ? `(${why})` : '';
}

// The answers beside the picture: what the round is, whatever the round shown.
function fillAnswers() {
  const model = page.model;
  $('period').textContent = model.period;
  $('period-unit').textContent = model.period === '1' ? 'round' : 'rounds';
  setWords($('deck-facts'), dealWords());
  $('fold-summary').textContent = `The deal: ${dealWords()}`;
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
  // A folded field with a fault is shown.
  if ([...faults.keys()].some((input) => $('fold').contains(input))) $('fold').open = true;
  ui.error.textContent = [addressFault, ...faults.values()].filter(Boolean).join('\n');
  for (const name of fieldNames) markFault(ui[name], faults.get(ui[name]) || '');
}

// A field bordered red, its fault said beside it too, where the eye is when
// typing; neither where `message` is empty.
export function markFault(input, message) {
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

export function setFault(input, message) {
  const faults = new Map(page.faults);
  if (message) faults.set(input, message); else faults.delete(input);
  update({ faults, addressFault: message ? page.addressFault : '' });
  renderFaults();
}

// An address read afresh: its fault, if any, and none of the fields'.
export function showAddressFault(message) {
  update({ addressFault: message, faults: new Map() });
  renderFaults();
}

// ---- reading the fields -----------------------------------------------------

// The deal's fields as the state names them; what one holds, as the state
// keeps it (an empty Cards field as null).
const dealFieldNames = ['hands', 'packets', 'cards', 'rest', 'firstCard', 'bottomHand', 'routine', 'deck', 'seed'];
const typedValue = (name) => {
  const value = ui[name].value.trim();
  return name === 'cards' && value === '' ? null : value;
};
const sameValue = (a, b) => String(a ?? '') === String(b ?? '');

// Every field read afresh, together: the deal shown takes each field's
// value wherever the core takes it with the others', over again until no
// field changes, so that a field refused for another's sake is taken once
// that one changes; then the cards followed and the round, as that deal
// reads them. What is left over is each field's fault, which so goes as
// soon as its cause goes, in whichever field the cause was.
function readFields() {
  let s = { ...page.state };
  const faults = new Map();
  for (let changed = true; changed;) {
    changed = false;
    for (const name of dealFieldNames) {
      // A stack kept under a name stands for its cards.
      const value = name === 'deck' ? typedDeck(typedValue(name)).deck : typedValue(name);
      faults.delete(ui[name]);
      if (sameValue(s[name], value)) continue;
      const fault = checkDeal({ ...s, [name]: value });
      if (fault) {
        faults.set(ui[name], `${fieldLabel(fault.field)}: ${fault.message}.`);
      } else {
        s = { ...s, [name]: value };
        changed = true;
      }
    }
  }
  s = withNumbers(s);
  const typed = typedDeck(typedValue('deck'));
  s.stack = typed.deck === s.deck ? typed.stack : '';
  const card = parseCards(ui.card.value, s);
  if (card.error) faults.set(ui.card, card.error);
  else Object.assign(s, { card: card.value, more: card.more });
  const round = parseRound(ui.round.value, s);
  if (round.error) faults.set(ui.round, round.error);
  else s.round = round.value;
  return { s, faults };
}

// Shows what the fields hold, as far as the core takes it, each fault said
// beside its field; whether the round typed was taken.
export function applyFields() {
  const { s, faults } = readFields();
  update({ faults, addressFault: '' });
  renderFaults();
  const { state } = page;
  if (dealKey(s) !== dealKey(state) || s.round !== state.round || s.card !== state.card ||
      s.more.join() !== state.more.join() || s.stack !== state.stack) {
    stopPlaying();
    stopDealing();
    update({ hover: null });
    show(s, 'push');
  }
  return !faults.has(ui.round);
}

// The fields set to `values`, by the state's names, and applied.
export function applyValues(values) {
  for (const [name, value] of Object.entries(values)) ui[name].value = value === null ? '' : String(value);
  return applyFields();
}

// A command the programs take that answers for what is shown: the listing,
// and where each followed card is, as deal-after --where says; with a
// chosen pile, the listing of the trick for the card followed (--chosen-card),
// and none while no card is. Every option that shapes what is shown is in it.
function showCommand() {
  const { model, state } = page;
  const quoted = (text) => (/[\s'"\\$`!*?;&|<>(){}[\]#~]/.test(text) ? `'${text.replace(/'/g, "'\\''")}'` : text);
  const common = `${model.chance ? `--seed ${model.seed} ` : ''}${model.options ? `${model.options} ` : ''}` +
    `${state.deck.trim() ? `--deck ${quoted(state.deck.trim())} ` : ''}` +
    `${model.follows && state.card !== null ? `--chosen-card ${cardLabel(state.card)} ` : ''}` +
    `${state.fromTop ? '--from-top ' : ''}`;
  const tail = `${model.count} ${state.round}`;
  const commands = [];
  if (!model.follows || state.card !== null) commands.push(`deal-after ${common}${facesShown() ? '--faces ' : ''}${tail}`);
  if (state.card !== null) {
    const cards = [state.card, ...state.more].map(cardLabel).join(',');
    commands.push(`deal-after ${common}--where ${cards} ${tail}`);
  }
  $('command-label').textContent = commands.length ? 'The same from a terminal:'
    : 'A chosen pile follows one card: follow one for the commands that list its trick\'s deck.';
  setWords($('command'), commands.join('\n'));
}

// Every typed field: applied on Enter and when left; its fault gone as soon
// as what is typed no longer has it.
export function wireField(input) {
  input.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') { event.preventDefault(); applyFields(); }
  });
  input.addEventListener('change', () => applyFields());
  input.addEventListener('input', () => {
    if (page.faults.has(input) && !readFields().faults.has(input)) setFault(input, '');
  });
}

export function fillChoices() {
  [ui.rest, ui.firstCard, ui.bottomHand].forEach((select, i) => {
    for (const name of page.facts.choices[i]) select.append(new Option(name, name));
  });
}

// ---- rounds ------------------------------------------------------------------

// Rounds drawn by chance, and those of a card followed through chosen
// piles, run from 0 to where the programs end them: a step stops there.
export function step(by, how = 'push') {
  const { state, model, facts } = page;
  let round = state.round + BigInt(by);
  const last = model.chance ? facts.table.max_chance_rounds : page.trick ? facts.table.max_trick_round : null;
  if (last !== null) round = round < 0n ? 0n : round > BigInt(last) ? BigInt(last) : round;
  if (round === state.round) { stopPlaying(); return; }
  show({ ...state, round }, how);
}

export function goTo(round) {
  stopPlaying();
  show({ ...page.state, round }, 'push');
}

const playInterval = () => Math.round(800 * 0.7 ** (Number(ui.speed.value) - 1));

export function stopPlaying() {
  if (page.playing === null) return;
  clearInterval(page.playing);
  update({ playing: null });
  ui.play.setAttribute('aria-pressed', 'false');
  ui.play.textContent = 'Play';
}

export function startPlaying() {
  // One history entry for the whole run, so that Back goes to where it began.
  update({ playing: setInterval(() => step(1, 'replace'), playInterval()) });
}

export function togglePlay() {
  if (page.playing !== null) { stopPlaying(); return; }
  ui.play.setAttribute('aria-pressed', 'true');
  ui.play.textContent = 'Pause';
  step(1, 'push');
  startPlaying();
}

export function describeSpeed() {
  const perSecond = 1000 / playInterval();
  $('speed-hint').textContent = `${perSecond < 10 ? perSecond.toFixed(1) : Math.round(perSecond)} rounds a second`;
}
