// The state of the page, in one object that update() alone changes, and the
// address that holds the view.

// The deal's fields by the names of the programs' options; `cards` is null
// for the default deck, every hand's packets. The packets and the three
// choices are deal's own, which start() asks the core for.
const defaults = {
  hands: 4, round: 0n, packets: null, cards: null, rest: null, firstCard: null,
  bottomHand: null, routine: '', deck: '', view: 'rows', color: 'start', card: null, faces: false, across: 'hands',
  fromTop: false, more: [], seed: '',
};
// The three choices: the state's name, and the option's, which the address
// and the field take.
const choiceFields = [['rest', 'rest'], ['firstCard', 'first-card'], ['bottomHand', 'bottom-hand']];

// Everything the page holds.
const page = {
  core: null, // the core's module
  facts: null, // what the core says of itself: the table of facts, names, moves
  state: { ...defaults }, // the view, as the address holds it
  shown: null, // the state last drawn
  model: null, // what the core says of the round of the deal shown, kept
  learnt: '', // that deal's key
  rows: null, // the rows drawn, as the core gave them, kept until replaced
  trick: false, // whether the rows follow a card through chosen piles
  faults: new Map(), // each field with a fault: its message
  addressFault: '', // what an address read afresh got wrong
  playing: null, // the timer while playing
  dealing: null, // a round dealt on screen, as it goes
  dealtPlaces: null, // where each card of the round dealt was last drawn
  dealtLabels: [], // how wide each line of its labels was drawn
  presenting: false, // the picture alone, for a room
  presentRows: false, // presenting the rows where the deck alone would be
  returnTo: null, // where the reader was before presenting: the scroll and the focus
  box: null, // the canvas's size
  theme: null, // the page's colors, read once a drawing
  view: null, // what is drawn now, for pointing and saving
  hover: null, // the card pointed at
  hoverAt: null, // and where, [row, position]
  notice: '', // a word on what a click could not do, until the next view
  cursor: null, // the keyboard's place on the picture while picking a card
  faceFont: 0, // the size of the names last drawn on faces
  sprites: new Map(), // looks drawn once and copied: each an image, its size, what drawing it said
  landscape: null, // the landscape's points and layout
  landscapeCursor: null, // the count the landscape is read at
  mixing: null, // the mixing curve's deck size and distances
  mixingQueued: false, // the curve asked for after the next paint
  found: null, // the routine the solver found
  receiving: null, // the field the move buttons add to
  paintQueued: false, // a repaint asked for the next frame
  resizeQueued: false, // a drawing asked for after the window's size changed
  ctx: null, // where the views draw: the canvas, or a recorder that writes SVG
};

// The one way the state changes.
function update(changes) {
  Object.assign(page, changes);
}

const dealKey = (s) =>
  [s.hands, s.packets, s.cards, s.rest, s.firstCard, s.bottomHand, s.routine, s.deck, s.seed].join('|');

// A seed for a routine's moves by chance, 0 to 2^64 - 1, drawn afresh: the
// address keeps it, so that the same address deals the same decks.
const freshSeed = () => crypto.getRandomValues(new BigUint64Array(1))[0].toString();

// The first fault of the deal of `s`, as {field, message}, or null.
function checkDeal(s) {
  return ask('check', dealFields(s)).fault;
}

// A deal whose fields, read as text, the core has taken, with its numbers.
const withNumbers = (d) => ({ ...d, hands: Number(d.hands), cards: d.cards === null ? null : Number(d.cards) });

// Makes the model the round of `s`, whose deal the core takes: the core's
// answer, kept while the deal is shown, for the rows to be asked of it.
function learn(s) {
  const key = dealKey(s);
  if (page.learnt === key) return;
  const model = ask('deal', dealFields(s), true);
  if (page.model) page.model.release();
  update({
    learnt: key,
    model: Object.assign(model, {
      cycles: model.census.reduce((n, [, count]) => n + count, 0),
      // What the programs take as COUNT: the hand count, or a routine's deck.
      count: model.routine ? model.size : s.hands,
      colors: { ...model.colors, followed: page.facts.followedColors },
    }),
  });
}

// ---- round numbers and cards --------------------------------------------------

// A round number, as deal-after takes it, for the deal and card of `s`.
function parseRound(text, s = page.state) {
  text = text.trim();
  const fault = ask('check', { ...dealFields(s), ...roundFields(s), round: text }).round;
  if (fault) return { error: `Round: ${fault}.` };
  return { value: BigInt(text) };
}

// Where the cards typed start: `field` names what the core reads, one card
// ('card') or a list of them separated by commas ('card-list'), each by its
// number or, for a pack, its name (AS, 10d, Q♥), as the programs read them,
// against the deck of `s`. The positions, or the fault.
function readCards(field, text, s) {
  const answer = ask('check', { ...dealFields(s), [field]: text });
  return answer[field] ? { error: answer[field] } : { positions: Array.from(answer.followed) };
}

// A card as --where takes one. Its fault is said as the field `field` says
// it, `then` what else may be typed there.
function parseCard(text, s = page.state, field = 'Follow card', then = '; or leave it empty.') {
  text = text.trim();
  if (text === '') return { value: null };
  const read = readCards('card', text, s);
  return read.error ? { error: `${field}: ${read.error}${then}` } : { value: read.positions[0] };
}

// Up to a few cards, separated by commas, each trimmed: the first followed
// as the one card is, the others beside it, a card given twice followed
// once.
function parseCards(text, s = page.state) {
  const most = page.facts.table.most_followed;
  const parts = text.split(',').map((part) => part.trim());
  if (parts.length === 1 && parts[0] === '') return { value: null, more: [] };
  if (parts.some((part) => part === '')) {
    return { error: 'Follow card: a card between every two commas; or leave it empty.' };
  }
  if (parts.length > most) return { error: `Follow card: at most ${most} cards, separated by commas.` };
  const read = readCards('card-list', parts.join(','), s);
  if (read.error) return { error: `Follow card: ${read.error}; or leave it empty.` };
  const cards = [...new Set(read.positions)];
  return { value: cards[0], more: cards.slice(1) };
}

function shorten(text, most) {
  return text.length <= most ? text : `${text.slice(0, most - 1)}…`;
}

// The round before the deck comes back, as a number. With a chosen pile,
// the deck need never come back: the last round before the followed card's
// positions repeat.
const periodMinusOne = () => (page.trick
  ? BigInt(page.rows.tail + page.rows.length - 1)
  : BigInt(page.model.period) - 1n);

// ---- the address ------------------------------------------------------------

function toSearch(s) {
  const params = new URLSearchParams();
  if (s.routine.trim() !== '') params.set('routine', s.routine.trim());
  else params.set('hands', String(s.hands));
  params.set('round', s.round.toString());
  if (s.packets !== defaults.packets) params.set('packets', s.packets);
  if (s.cards !== null) params.set('cards', String(s.cards));
  if (s.deck.trim() !== '') params.set('deck', s.deck.trim());
  if (page.model && page.model.chance) params.set('seed', s.seed);
  for (const [field, name] of choiceFields) {
    if (s[field] !== defaults[field]) params.set(name, s[field]);
  }
  if (s.view !== defaults.view) params.set('view', s.view);
  if (s.color !== defaults.color) params.set('color', s.color);
  // The card itself, which a stack may start anywhere.
  if (s.card !== null) {
    params.set('card', [s.card, ...s.more].map((c) => String(page.model.numbers[c] & faceUpMask)).join(','));
  }
  if (s.faces) params.set('faces', '1');
  if (s.fromTop) params.set('from-top', '1');
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
  if (params.has('deck')) deal.deck = params.get('deck');
  if (params.has('seed')) deal.seed = params.get('seed');
  for (const [field, name] of choiceFields) {
    if (params.has(name)) deal[field] = params.get(name);
  }
  const fault = checkDeal(deal);
  if (fault) error = `${fieldLabel(fault.field)}: ${fault.message}.`;
  else Object.assign(s, withNumbers(deal));
  if (params.get('view') === 'map') s.view = 'map';
  if (params.get('color') === 'cycle') s.color = 'cycle';
  if (params.get('faces') === '1') s.faces = true;
  if (params.get('from-top') === '1') s.fromTop = true;
  if (params.get('landscape') === 'cards') s.across = 'cards';
  if (params.has('card')) {
    const card = parseCards(params.get('card'), s);
    if (card.error) error = error || card.error; else Object.assign(s, { card: card.value, more: card.more });
  }
  if (params.has('round')) {
    const round = parseRound(params.get('round'), s);
    if (round.error) error = error || round.error; else s.round = round.value;
  }
  return { s, error };
}

function fieldLabel(field) {
  const label = document.querySelector(`label[for="${field}"]`);
  return label ? label.textContent : field;
}
