// Presenting: the picture alone in the window, for the back row of a
// classroom; the keys still work, and Escape leaves.

function setPresenting(on) {
  if (page.presenting === on) return;
  update({ presenting: on });
  document.body.classList.toggle('presenting', on);
  $('present').setAttribute('aria-pressed', String(on));
  if (on) canvas.focus({ preventScroll: true });
  if (page.dealing) {
    // The round being dealt goes on, at the new size.
    fitCanvas(true);
    paintDeal(page.dealing.idle ? 1 : 0);
    wake();
    return;
  }
  setReady(false);
  draw(true);
  if (!on) {
    drawLandscape();
    drawMixing();
  }
  setReady(landscapeDone());
}
