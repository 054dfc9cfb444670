// The moves: a button for each, which appends it to the routine or, once
// used, to the moves the solver may choose from; and the solver, which finds
// the fewest moves that bring the followed card to a place, as deal-solve
// does, and deals the routine found with a click.

// The field the move buttons add to: the routine, or the moves allowed once
// that field has been used.
function receiveMoves(input) {
  update({ receiving: input });
  for (const field of [ui.routine, $('solve-moves')]) field.classList.toggle('receiving', field === input);
}

// A button for every move a routine takes, as the core names them, that
// appends the move with its defaults: nobody must learn the grammar first.
function fillMoves() {
  const box = $('moves');
  for (const { name, example, help } of page.facts.moves) {
    const button = document.createElement('button');
    button.type = 'button';
    button.dataset.testid = `move-${name.replace(/ /g, '-')}`;
    button.textContent = name[0].toUpperCase() + name.slice(1);
    button.title = `Append “${example}”: ${help}`;
    button.addEventListener('click', () => {
      if (page.receiving === $('solve-moves')) {
        const typed = page.receiving.value.trim().replace(/\|\s*$/, '');
        page.receiving.value = typed ? `${typed} | ${example}` : example;
        return;
      }
      const typed = ui.routine.value.trim().replace(/;\s*$/, '');
      ui.routine.value = typed ? `${typed}; ${example}` : example;
      applyField('routine');
    });
    box.append(button);
  }
}

// The fewest moves, among those allowed, that bring the followed card from
// where it starts to the position asked; the routine found is dealt with a
// click.
function solveFor() {
  const { state, model } = page;
  const answer = $('solve-answer');
  update({ found: null });
  $('solve-load').hidden = true;
  const card = state.card;
  const toText = $('solve-to').value.trim();
  // A place from the top, 1 the top card, where the page counts so.
  const given = Number(toText);
  const to = state.fromTop ? model.size - given : given;
  const least = state.fromTop ? 1 : 0;
  if (card === null) {
    answer.textContent = 'Follow a card first: click it, or type it into Follow card.';
  } else if (!/^\d{1,5}$/.test(toText) || given < least || given > model.size - 1 + least) {
    answer.textContent = state.fromTop
      ? `Bring it to place: type a place from the top, from 1 to ${model.size}.`
      : `Bring it to position: type a position from 0 to ${model.size - 1}.`;
  } else {
    const solved = ask('solve', { ...dealFields(state), moves: $('solve-moves').value.trim(), from: card, to });
    const name = cardName(card);
    const from = positionWords(card), there = positionWords(to);
    if (solved.moves) answer.textContent = `The moves: ${solved.moves}.`;
    else if (solved.length === -1) answer.textContent = `No routine of these moves brings card ${name} from ${from} to ${there}.`;
    else if (solved.length === 0) answer.textContent = `Card ${name} starts at ${there}: no move is needed.`;
    else {
      update({ found: solved.routine });
      answer.textContent = `${solved.length} move${solved.length === 1 ? '' : 's'} bring card ${name} from ${from} to ${there}: ${solved.routine}`;
      $('solve-load').hidden = false;
    }
  }
}

function wireSolver() {
  fillMoves();
  ui.routine.addEventListener('focus', () => receiveMoves(ui.routine));
  $('solve-moves').addEventListener('focus', () => receiveMoves($('solve-moves')));
  $('solve-form').addEventListener('submit', (event) => { event.preventDefault(); solveFor(); });
  $('solve-load').addEventListener('click', () => {
    if (page.found === null) return;
    ui.routine.value = page.found;
    applyDeal({ ...page.state, routine: page.found, cards: page.model.size, round: 0n }, ui.routine);
  });
}
