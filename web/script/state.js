// The state of the page and its address, and the one way the page talks to
// the core (the deal's own C++ compiled to WebAssembly): every number about
// the deal, every limit and every message comes from there. The script
// computes nothing about the deal itself.

const $ = (id) => document.getElementById(id);
const encoder = new TextEncoder();

let core = null;
// The numbers the page lays itself out by, asked of the core once it runs.
const limits = {};

function readLimits() {
  const names = ['maxCards', 'maxDealHands', 'maxOwnHands', 'maxPackets', 'maxRoundDigits',
    'maxRows', 'maxLineCards', 'maxDealtCards', 'maxPlayingCards', 'rowStride', 'followedColors',
    'maxCobwebLength'];
  names.forEach((name, i) => { limits[name] = core._explorer_limit(i); });
  limits.cardNames = Array.from({ length: limits.maxPlayingCards },
    (_, card) => coreText(core._explorer_card_name(card)));
  // The names the three choices take, the default first, as the programs spell them.
  limits.choices = [0, 1, 2].map((choice) => {
    const names = [];
    for (let i = 0; ; ++i) {
      const name = core._explorer_choice_name(choice, i);
      if (!name) break;
      names.push(core.UTF8ToString(name));
    }
    return names;
  });
  // deal's own deal, the default of every field: its packets and the first
  // name of each choice, as the core has them.
  defaults.packets = coreText(core._explorer_own_packets());
  choiceFields.forEach(([field], i) => { defaults[field] = limits.choices[i][0]; });
  $('own-deal').title = `Packets ${defaults.packets}, as the program deal deals`;
}

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

const coreText = (pointer) => core.UTF8ToString(pointer);
const int32s = (pointer, count) => core.HEAP32.subarray(pointer >> 2, (pointer >> 2) + count);
const uint32s = (pointer, count) => core.HEAPU32.subarray(pointer >> 2, (pointer >> 2) + count);

// ---- the state --------------------------------------------------------------

// The deal's fields by the names of the programs' options; `cards` is null
// for the default deck, every hand's packets. The packets and the three
// choices are deal's own, which readLimits asks the core for.
const defaults = {
  hands: 4, round: 0n, packets: null, cards: null, rest: null, firstCard: null,
  bottomHand: null, routine: '', view: 'rows', color: 'start', card: null, faces: false, across: 'hands',
};
// The three choices: the state's name, and the option's, which the address
// and the field take.
const choiceFields = [['rest', 'rest'], ['firstCard', 'first-card'], ['bottomHand', 'bottom-hand']];

let state = { ...defaults };

const dealKey = (s) =>
  [s.hands, s.packets, s.cards, s.rest, s.firstCard, s.bottomHand, s.routine].join('|');

// Hands the fields of `s` to the core, field by field, as the programs read
// their options; the first fault, as {field, message}, or null.
function configure(s) {
  const fault = (field) => ({ field, message: coreText(core._explorer_message()) });
  if (core._explorer_read_packets(putText(s.packets.trim())) < 0) return fault('packets');
  if (core._explorer_read_cards(putText(s.cards === null ? '' : String(s.cards))) < 0) {
    return fault('cards');
  }
  const index = (field, i) => limits.choices[i].indexOf(s[field]);
  core._explorer_set_choices(index('rest', 0), index('firstCard', 1), index('bottomHand', 2));
  // A routine's deck is the Cards field's, and its deals carry their own
  // hands: the Hands field waits until the routine is cleared.
  if (core._explorer_read_routine(putText(s.routine)) < 0) return fault('routine');
  if (s.routine.trim() !== '') return null;
  if (core._explorer_read_hands(putText(String(s.hands).trim())) < 0) return fault('hands');
  return null;
}

// A deal whose fields, read as text, configure has taken, with its numbers.
const withNumbers = (d) => ({ ...d, hands: Number(d.hands), cards: d.cards === null ? null : Number(d.cards) });

let learnt = ''; // the deal whose round the core holds
let model = null; // what the core says of that round

// Makes the core hold the deal of `s`, which configure has taken.
function learn(s) {
  const key = dealKey(s);
  if (learnt === key) return;
  core._explorer_learn(s.hands);
  learnt = key;
  const size = core._explorer_cards();
  const pairs = core._explorer_census_pairs();
  const census = int32s(core._explorer_census(), 2 * pairs);
  let cycles = 0;
  for (let i = 0; i < pairs; ++i) cycles += census[2 * i + 1];
  const dealt = core._explorer_dealt_count();
  const routine = core._explorer_routine_given() === 1;
  model = {
    hands: core._explorer_dealt_hands(), size, cycles, routine,
    // What the programs take as COUNT: the hand count, or a routine's deck.
    count: routine ? size : s.hands,
    deals: routine ? core._explorer_routine_deals() : 1,
    follows: core._explorer_routine_follows() === 1,
    period: coreText(core._explorer_period()),
    smallPeriod: core._explorer_small_period(),
    census: Array.from({ length: pairs }, (_, i) => [census[2 * i], census[2 * i + 1]]),
    cycleOf: int32s(core._explorer_cycle_of(), size),
    cycleLength: int32s(core._explorer_cycle_length(), size),
    goesTo: int32s(core._explorer_goes_to(), size),
    colors: {
      start: uint32s(core._explorer_colors(0), size),
      cycle: uint32s(core._explorer_colors(1), size),
      followed: uint32s(core._explorer_colors(2), limits.followedColors),
    },
    gap: coreText(core._explorer_gap()),
    cycleType: coreText(core._explorer_cycle_type()),
    even: core._explorer_even() === 1,
    fixed: coreText(core._explorer_fixed()),
    options: coreText(core._explorer_options_text()),
    rules: coreText(core._explorer_rules_text()),
    ownDeal: core._explorer_own_deal() === 1,
    dealt,
    order: Array.from(int32s(core._explorer_deal_order(), dealt)),
    passes: Array.from(int32s(core._explorer_deal_passes(), dealt)),
  };
}

// ---- round numbers ----------------------------------------------------------

// A round number is checked by the core against the deal it holds, which is
// why the deal is learnt first.
function parseRound(text) {
  text = text.trim();
  if (text === '') return { error: 'Round: type a round number, such as 0, 12 or -1.' };
  const status = core._explorer_parse_round(putText(text));
  if (status === -1) return { error: `Round: “${shorten(text, 24)}” is not a whole number.` };
  if (status === -3) {
    return { error: 'Round: a deal that gathers the followed card’s pile cannot be undone; ' +
      'give a round from 0.' };
  }
  if (status === -4) return { error: 'Round: with a chosen pile, rounds run from 0 to 10¹⁸.' };
  if (status < 0) {
    return { error: `Round: a round number has at most ${limits.maxRoundDigits} digits; ` +
      `this one has ${text.replace(/^[+-]/, '').length}.` };
  }
  return { value: BigInt(text) };
}

// A card by its number or, for a pack, its name (AS, 10d, Q♥), as --where
// takes it; the core checks it against the deck it holds.
function parseCard(text) {
  text = text.trim();
  if (text === '') return { value: null };
  const card = core._explorer_read_card(putText(text));
  if (card < 0) return { error: `Follow card: ${coreText(core._explorer_message())}; or leave it empty.` };
  return { value: card };
}

function shorten(text, most) {
  return text.length <= most ? text : `${text.slice(0, most - 1)}…`;
}

// The round before the deck comes back, as a number.
// With a chosen pile, the deck need never come back: the last round before
// the followed card's positions repeat.
const periodMinusOne = () => (trick
  ? BigInt(core._explorer_trick_tail() + core._explorer_trick_length() - 1)
  : BigInt(model.period) - 1n);
// Whether the deck shown follows a card through deals that gather its pile.
let trick = false;

// ---- the address ------------------------------------------------------------

function toSearch(s) {
  const params = new URLSearchParams();
  if (s.routine.trim() !== '') params.set('routine', s.routine.trim());
  else params.set('hands', String(s.hands));
  params.set('round', s.round.toString());
  if (s.packets !== defaults.packets) params.set('packets', s.packets);
  if (s.cards !== null) params.set('cards', String(s.cards));
  for (const [field, name] of choiceFields) {
    if (s[field] !== defaults[field]) params.set(name, s[field]);
  }
  if (s.view !== defaults.view) params.set('view', s.view);
  if (s.color !== defaults.color) params.set('color', s.color);
  if (s.card !== null) params.set('card', String(s.card));
  if (s.faces) params.set('faces', '1');
  if (s.across !== defaults.across) params.set('landscape', s.across);
  // Commas and semicolons read better in an address than %2C and %3B, and
  // mean the same there.
  return `?${params.toString().replace(/%2C/g, ',').replace(/%3B/g, ';')}`;
}

// The state an address names. What it gets wrong is said, and the whole deal
// falls back to the default, so that what is shown is always one deal.
function fromSearch(search) {
  const params = new URLSearchParams(search);
  const s = { ...defaults };
  let error = '';
  const deal = { ...defaults };
  if (params.has('hands')) deal.hands = params.get('hands');
  if (params.has('packets')) deal.packets = params.get('packets');
  if (params.has('cards')) deal.cards = params.get('cards');
  if (params.has('routine')) deal.routine = params.get('routine');
  for (const [field, name] of choiceFields) {
    if (params.has(name)) deal[field] = params.get(name);
  }
  const choice = choiceFields.findIndex(([field], i) => !limits.choices[i].includes(deal[field]));
  const fault = choice >= 0
    ? { field: choiceFields[choice][1],
      message: `“${shorten(deal[choiceFields[choice][0]], 24)}” is not one of ` +
        `${limits.choices[choice].join(', ')}` }
    : configure(deal);
  if (fault) {
    error = `${fieldLabel(fault.field)}: ${fault.message}.`;
  } else {
    Object.assign(s, withNumbers(deal));
  }
  if (fault) configure(s);
  learn(s);
  if (params.has('round')) {
    const round = parseRound(params.get('round'));
    if (round.error) error = error || round.error; else s.round = round.value;
  }
  if (params.get('view') === 'map') s.view = 'map';
  if (params.get('color') === 'cycle') s.color = 'cycle';
  if (params.get('faces') === '1') s.faces = true;
  if (params.get('landscape') === 'cards') s.across = 'cards';
  if (params.has('card')) {
    const card = parseCard(params.get('card'));
    if (card.error) error = error || card.error; else s.card = card.value;
  }
  return { s, error };
}

function fieldLabel(field) {
  const label = document.querySelector(`label[for="${field}"]`);
  return label ? label.textContent : field;
}
