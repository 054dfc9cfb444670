// The group of the moves: how many orders of the deck the solver's moves
// (or, where none are typed, the routine's) can bring it to, and whether
// they bring new deck order to the deck typed in the Deck field, with the
// routine that does, as deal-group answers. Worked out on demand only, by a
// button: a large deck's group takes a moment, and the deal does not wait.

import { ask, dealFields } from './core.js';
import { $ } from './dom.js';
import { setWords } from './draw.js';
import { applyValues } from './fields.js';
import { page } from './page.js';

// An order written whole past this many digits is shortened on the page,
// its every digit in the tooltip and the primes beside it.
const shownDigits = 60;

// The order, exactly, from its primes and their exponents: the browser's
// own integers of any length multiply it out.
function orderDigits(primes, exponents) {
  let order = 1n;
  primes.forEach((p, i) => { order *= BigInt(p) ** BigInt(exponents[i]); });
  return order.toString();
}

// 27064431817106664380040216576000000 as 27,064,431,...: commas every
// three digits, and past shownDigits its first and last digits only.
function groupedDigits(digits) {
  const grouped = (text) => text.replace(/\B(?=(\d{3})+(?!\d))/g, ',');
  if (digits.length <= shownDigits) return grouped(digits);
  return `${digits.slice(0, 12)}…${digits.slice(-12)} (${digits.length.toLocaleString('en')} digits)`;
}

// The routine last found to the Deck field's order, which Deal it deals.
let found = null;

const primesText = (primes, exponents) =>
  Array.from(primes, (p, i) => (exponents[i] === 1 ? `${p}` : `${p}^${exponents[i]}`)).join(' · ') || '1';

// The group's answer in words, or what is wrong.
function describe(answer, whose) {
  if (answer.fault) return answer.fault.message;
  if (answer.moves) return `The ${whose}: ${answer.moves}.`;
  if (!answer.known) {
    return `The group of the ${whose} would take more than ${answer.most} steps to work out on the page: ` +
      'allow fewer moves or a smaller deck, or ask deal-group, which takes more.';
  }
  const size = page.model.size;
  const digits = orderDigits(answer.primes, answer.exponents);
  const orbits = answer.orbits === 1
    ? `every position to every other${answer.blocks ? `, keeping positions together in blocks of ${answer.blocks}` : ''}`
    : `positions among ${answer.orbits} orbits`;
  // "The solver's 2 moves reach", "The routine's 1 move reaches".
  const one = answer.count === 1;
  const owner = whose.split(' ')[0];
  return `The ${owner} ${answer.count} move${one ? ' reaches' : 's reach'} ${groupedDigits(digits)} ` +
    `order${digits === '1' ? '' : 's'}${answer.faces ? ' and facings' : ''} of ${size} cards, ` +
    `${primesText(answer.primes, answer.exponents)}: ${answer.reaches}; ${one ? 'it takes' : 'they take'} ${orbits}.`;
}

// The moves asked about: the solver's where any are typed, else the routine's.
function asked(reach) {
  const moves = $('solve-moves').value.trim();
  const whose = moves ? "solver's moves" : "routine's moves";
  const answer = ask('explorer_group', { ...dealFields(page.state), moves, reach: reach ? 1 : '' });
  return { answer, whose, digits: answer.primes ? orderDigits(answer.primes, answer.exponents) : '' };
}

function countOrders() {
  const { answer, whose, digits } = asked(false);
  $('group-load').hidden = true;
  setWords($('group-answer'), describe(answer, whose));
  $('group-answer').title = digits.length > shownDigits ? digits : '';
}

// From new deck order to the Deck field's order: the routine, dealt with a
// click from new deck order, so that round 1 shows the deck typed.
function reachDeck() {
  const { answer, whose } = asked(true);
  const out = $('group-answer');
  out.title = '';
  $('group-load').hidden = true;
  found = null;
  const deck = page.state.deck.trim();
  let words;
  if (answer.fault || answer.moves || !answer.known) words = describe(answer, whose);
  else if (!deck || answer.routine === '') {
    words = deck ? 'The Deck field holds new deck order: no move is needed.'
      : 'Type a deck in the Deck field, such as si-stebbins, to ask whether the moves bring new deck order to it.';
  } else if (answer.reach === 'never') words = `No routine of the ${whose} brings new deck order to the deck in the Deck field: their group does not hold it.`;
  else if (answer.reach === 'none') {
    words = `The ${whose} reach the deck in the Deck field, but no routine of at most ` +
      `${page.facts.table.max_moves} moves to it was found on the page; deal-group looks further.`;
  } else {
    const moves = answer.routine.split('; ').length;
    words = `${answer.shortest ? 'A shortest routine' : 'A routine (not always a shortest one)'} of ${moves} ` +
      `move${moves === 1 ? '' : 's'} brings new deck order to the deck in the Deck field: ${answer.routine}`;
    found = answer.routine;
    $('group-load').hidden = false;
  }
  setWords(out, words);
}

// An answer about other moves or another deal is taken away, not left to
// be read as this one's.
function forget() {
  found = null;
  $('group-load').hidden = true;
  $('group-answer').title = '';
  setWords($('group-answer'), '');
}

export function wireGroup() {
  document.addEventListener('deal-changed', forget);
  $('solve-moves').addEventListener('input', forget);
  $('group-order').addEventListener('click', countOrders);
  $('group-reach').addEventListener('click', reachDeck);
  $('group-load').addEventListener('click', () => {
    if (!found) return;
    applyValues({ routine: found, cards: page.model.size, deck: '', round: 1 });
  });
}
