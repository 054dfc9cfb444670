// Copying a text: through the clipboard where the browser allows it, else
// by a selection copied the old way; the button says which worked.

export function copyText(text, button, label) {
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
    let ok;
    try { ok = document.execCommand('copy'); } catch { ok = false; }
    area.remove();
    done(ok);
  };
  if (navigator.clipboard && window.isSecureContext) {
    navigator.clipboard.writeText(text).then(() => done(true), byHand);
  } else {
    byHand();
  }
}
