// The moves: a button for each, which appends it to the routine or, once
// used, to the moves the solver may choose from; and the solver, which finds
// the fewest moves that bring the followed card, or whichever card the
// spectator chose, to a place, as deal-solve does, and deals the routine
// found with a click.

import { ask, dealFields } from './core.js';
import { $ } from './dom.js';
import { cardLabel, cardName, positionWords, setWords } from './draw.js';
import { applyValues, markFault, show, ui } from './fields.js';
import { page, update } from './page.js';
import { parseCard } from './state.js';

// The field the move buttons add to: the routine, or the moves allowed once
// that field has been used.
function receiveMoves(input) {
  update({ receiving: input });
  for (const field of [ui.routine, $('solve-moves')]) field.classList.toggle('receiving', field === input);
  // The solver's moves are exact: a move by chance goes to the routine only.
  for (const button of document.querySelectorAll('#moves button[data-chance]')) {
    button.disabled = input === $('solve-moves');
  }
}

// A button for every move a routine takes, as the core names them, that
// appends the move with its defaults: nobody must learn the grammar first.
function fillMoves() {
  const box = $('moves');
  for (const { name, example, help, chance } of page.facts.moves) {
    const button = document.createElement('button');
    if (chance) button.dataset.chance = '1';
    button.type = 'button';
    button.dataset.testid = `move-${name.replace(/ /g, '-')}`;
    button.textContent = name[0].toUpperCase() + name.slice(1);
    button.title = `Append “${example}”: ${help}`;
    // A deal into as many hands as the Hands field shows.
    const move = () => (name === 'deal' ? `deal ${page.state.hands}` : example);
    button.addEventListener('click', () => {
      if (page.receiving === $('solve-moves')) {
        const typed = page.receiving.value.trim().replace(/\|\s*$/, '');
        page.receiving.value = typed ? `${typed} | ${move()}` : move();
        return;
      }
      const typed = ui.routine.value.trim().replace(/;\s*$/, '');
      applyValues({ routine: typed ? `${typed}; ${move()}` : move() });
    });
    box.append(button);
  }
}

// A place as the page writes it, as a position from the bottom: a number,
// counted as the page counts (from the top where it does, 1 the top card);
// "13th from the top", "the top card" or "the bottom card"; "position 5";
// or a card's name (QH, Q♥), for the place that card starts at, as deal-solve
// takes it. Null where it is none of the deck's.
function placeOf(text) {
  const size = page.model.size;
  const words = text.toLowerCase().replace(/\s+/g, ' ').replace(/^the /, '');
  let position = null;
  const fromTop = /^(\d{1,5})(?:st|nd|rd|th)? from the top$/.exec(words);
  const numbered = /^(?:position )?(\d{1,5})$/.exec(words);
  if (words === 'top card' || words === 'top') position = size - 1;
  else if (words === 'bottom card' || words === 'bottom') position = 0;
  else if (fromTop) position = size - Number(fromTop[1]);
  else if (numbered) position = page.state.fromTop && !words.startsWith('position') ? size - Number(numbered[1]) : Number(numbered[1]);
  else if (words !== '') {
    // Anything else may be a card's name, which the core reads.
    const card = parseCard(text);
    if (!card.error) position = card.value;
  }
  return position !== null && position >= 0 && position < size ? position : null;
}

// "1 move brings", "3 moves bring".
const movesBring = (n) => (n === 1 ? '1 move brings' : `${n} moves bring`);

// The fewest moves, among those allowed, that bring the followed card from
// where it starts to the position asked, or, whichever card the spectator
// chose, every card there (with no position, to the fewest places these
// moves can); the routine found is dealt with a click.
function solveFor() {
  const { state, model } = page;
  const answer = $('solve-answer');
  update({ found: null });
  $('solve-load').hidden = true;
  $('solve-ends').hidden = true;
  const any = $('solve-any').checked;
  // The card to bring: typed as Follow card takes it, and followed, so that
  // the rows show it on its way.
  const cardText = $('solve-card').value.trim();
  const read = any ? { value: null }
    : cardText === '' ? { error: 'The card: type the card to bring, such as 7S or 12, or click one in the picture.' }
      : parseCard(cardText, state, 'The card', '.');
  const card = read.error ? null : read.value;
  const toText = $('solve-to').value.trim();
  const to = placeOf(toText);
  const closest = any && toText === '';
  const moves = $('solve-moves').value.trim();
  // Each bad field bordered red, and its fault said beside it and here, one
  // a field.
  const toFault = !closest && to === null
    ? (state.fromTop ? `To place: type a place from the top, from 1 to ${model.size}, such as 13 or 13th from the top`
      : `To position: type a position from 0 to ${model.size - 1}, or a place such as 13th from the top`) +
      (model.size <= page.facts.table.max_playing_cards ? ', or a card such as QH for where it starts' : '') +
      (any ? ', or nothing for the fewest places.' : '.')
    : '';
  const movesFault = moves === '' ? 'With the moves: type the moves allowed, separated by |, such as faro in | faro out, or add them with the move buttons.' : '';
  markFault($('solve-card'), read.error || '');
  markFault($('solve-to'), toFault);
  markFault($('solve-moves'), movesFault);
  if (read.error || toFault || movesFault) {
    answer.textContent = [read.error, toFault, movesFault].filter(Boolean).join(' ');
    return;
  }
  if (!any && card !== state.card) show({ ...state, card, more: [] }, 'push');
  if (any) {
    const solved = ask('explorer_solve', { ...dealFields(state), moves, any: 1, to: closest ? '' : to });
    markFault($('solve-moves'), solved.moves ? `The moves: ${solved.moves}.` : '');
    const there = closest ? '' : positionWords(to);
    if (solved.moves) answer.textContent = `The moves: ${solved.moves}.`;
    else if (solved.length === -3) answer.textContent = `The search would take more than ${solved.most} steps, a step a place moved by a move: allow fewer moves.`;
    else if (solved.length === -2) answer.textContent = `The search would keep more than ${solved.most} sets of places the card may be in: allow fewer moves.`;
    else if (solved.length === -1) answer.textContent = `No routine of these moves brings every card to ${there}: moves that only rearrange the deck never narrow it; a deal with a chosen pile does.`;
    else if (solved.length === 0) answer.textContent = closest ? 'These moves cannot narrow the card: it may be anywhere in the deck.' : `The deck is one card, at ${there}: no move is needed.`;
    else {
      update({ found: { routine: solved.routine, any: true } });
      const places = closest ? Array.from(solved.places) : [to];
      answer.textContent = closest
        ? `${solved.length} move${solved.length === 1 ? ' narrows' : 's narrow'} whichever card to ${places.length} place${places.length === 1 ? '' : 's'}: ${solved.routine}`
        : `${movesBring(solved.length)} whichever card to ${there}: ${solved.routine}`;
      showEnds(Array.from(solved.ends));
      $('solve-load').hidden = false;
    }
  } else {
    const solved = ask('explorer_solve', { ...dealFields(state), moves, from: card, to });
    markFault($('solve-moves'), solved.moves ? `The moves: ${solved.moves}.` : '');
    // The card as it was typed, by name or number.
    const name = /^\d+$/.test(cardText) ? cardName(card) : cardText;
    const from = positionWords(card), there = positionWords(to);
    if (solved.moves) answer.textContent = `The moves: ${solved.moves}.`;
    else if (solved.length === -1) answer.textContent = `No routine of these moves brings card ${name} from ${from} to ${there}.`;
    else if (solved.length === 0) answer.textContent = `Card ${name} starts at ${there}: no move is needed.`;
    else {
      update({ found: { routine: solved.routine, any: false } });
      answer.textContent = `${movesBring(solved.length)} card ${name} from ${from} to ${there}: ${solved.routine}`;
      $('solve-load').hidden = false;
    }
  }
  setWords(answer, answer.textContent);
}

// Where each card ends, followed alone through the routine found, its pile
// chosen at every deal: the proof that the trick works whichever card it is.
// Every card named on a pack-sized deck, colored by where it ends.
function showEnds(ends) {
  const box = $('solve-ends');
  const places = [...new Set(ends)].sort((a, b) => a - b);
  const said = document.createElement('p');
  said.textContent = places.length === 1
    ? `Followed one at a time, all ${ends.length} cards end at ${positionWords(places[0])}.`
    : `Followed one at a time, the ${ends.length} cards end at ${places.length} places: ${places.map(positionWords).join('; ')}.`;
  box.replaceChildren(said);
  if (ends.length <= 2 * page.facts.table.max_playing_cards) {
    const cards = document.createElement('div');
    cards.className = 'ends';
    ends.forEach((end, p) => {
      const chip = document.createElement('span');
      chip.textContent = cardLabel(p);
      chip.title = `${cardName(p)}, from ${positionWords(p)}, ends at ${positionWords(end)}`;
      chip.style.setProperty('--hue', String(Math.round(360 * places.indexOf(end) / places.length)));
      cards.append(chip);
    });
    box.append(cards);
  }
  box.hidden = false;
}

export function wireSolver() {
  fillMoves();
  ui.routine.addEventListener('focus', () => receiveMoves(ui.routine));
  $('solve-moves').addEventListener('focus', () => receiveMoves($('solve-moves')));
  $('solve-form').addEventListener('submit', (event) => { event.preventDefault(); solveFor(); });
  // Whichever card it is, no card is named.
  for (const radio of document.querySelectorAll('input[name="solve-which"]')) {
    radio.addEventListener('change', () => {
      $('solve-card').disabled = $('solve-any').checked;
      if ($('solve-any').checked) markFault($('solve-card'), '');
    });
  }
  // The routine found, dealt from round 0: the next round shows the card
  // there. Whichever card it was to bring, one is followed, the one followed
  // or else one drawn at random, so that the rows show the trick at work, its
  // pile chosen at every deal, as the chips show it for every card.
  $('solve-load').addEventListener('click', () => {
    const { found, state, model } = page;
    if (found === null) return;
    const values = { routine: found.routine, cards: model.size, round: 0 };
    if (found.any && state.card === null) {
      values.card = cardLabel(crypto.getRandomValues(new Uint32Array(1))[0] % model.size);
    }
    applyValues(values);
    if (found.any) {
      $('solve-answer').append(` Dealt, card ${cardName(page.state.card)} followed through the piles: ` +
        'at round 1 it lies where the cards below end; follow any other to see it end there too.');
    }
  });
}
