// The keys, as the footer lists them: whatever has the focus, they do what
// it says, but where a field takes the key itself.

import { dealStep, finishDealing, startDealing, stopDealing, toggleDealing } from './dealt.js';
import { canvas } from './dom.js';
import { draw } from './draw.js';
import { goTo, show, step, stopPlaying, togglePlay } from './fields.js';
import { page, update } from './page.js';
import { movePicking, pickAtCursor, startPicking, stopPicking } from './picking.js';
import { setPresenting } from './presenting.js';
import { periodMinusOne } from './state.js';

export function onKey(event) {
  if (event.altKey || event.ctrlKey || event.metaKey) return;
  const target = event.target;
  const typing = target instanceof HTMLInputElement && (target.type === 'text' || target.type === 'range');
  const choosing = target instanceof HTMLSelectElement || (target instanceof HTMLInputElement && target.type === 'radio');
  const pressing = target instanceof HTMLButtonElement || (target instanceof HTMLInputElement && target.type === 'checkbox');
  const key = event.key;
  const { state } = page;
  if (page.dealing) {
    // While the cards move, the keys do what the words under the view say,
    // whichever control has the focus: the Finish button keeps it after the
    // click that started the round.
    if (typing && key !== 'Escape') return;
    if (key === 'Escape') stopDealing();
    else if (key === 'p' || key === 'P') setPresenting(!page.presenting);
    else if (key === 'ArrowRight' || key === '.') dealStep();
    else if (key === ' ') toggleDealing();
    else if (key === 'd' || key === 'D') finishDealing();
    else return;
    event.preventDefault();
    return;
  }
  if (page.cursor && target === canvas) {
    // Picking has its own keys: the arrows, Enter and Escape. Any other key
    // lets go and does what the footer says.
    if (key.startsWith('Arrow') || key === 'Enter' || key === 'Escape') {
      if (key.startsWith('Arrow')) movePicking(key);
      else if (key === 'Enter') pickAtCursor();
      else stopPicking();
      event.preventDefault();
      return;
    }
    stopPicking();
  }
  if (key === 'Escape' && page.presenting) {
    setPresenting(false);
    return;
  }
  if (key === 'Escape' && state.card !== null) {
    show({ ...state, card: null }, 'push');
    return;
  }
  if (typing) return;
  if ((key === 'p' || key === 'P') && !choosing) {
    setPresenting(!page.presenting);
    return;
  }
  if ((key === 'r' || key === 'R') && page.presenting) {
    update({ presentRows: !page.presentRows });
    draw(true);
    return;
  }
  if ((target === canvas && key === 'Enter') || ((key === 'f' || key === 'F') && !choosing)) {
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
  } else if ((key === 'Home' || (key === 'End' && !page.model.chance)) && !choosing) {
    event.preventDefault();
    goTo(key === 'Home' ? 0n : periodMinusOne());
  } else if (key === ' ' && !pressing && !choosing) {
    event.preventDefault();
    togglePlay();
  } else if ((key === 'd' || key === 'D') && !choosing) {
    startDealing();
  }
}
