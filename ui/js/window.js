// The window has no frame: the page draws its title bar and buttons and tells
// the program when a drag starts and ends ("move_begin" / "move_end"; the
// program moves the window while the mouse button is held), places and shows
// the window at start ("desktop_size", "show"), minimises it, hides it to the
// tray ("close" with tray true) and quits ("close" with tray false, after asking).

export const WINDOW_SIZE = { w: 1400, h: 720 };

// Parts of the title bar that are controls, not a handle to drag the window by.
const NOT_A_HANDLE = 'button, a, input, select, textarea, [role="tab"], [data-no-drag]';

export function setUpWindowControls({ titlebar, minimizeButton, trayButton, quitButton, run, dialogs, i18n }) {
  const { t } = i18n;
  let dragging = false;

  titlebar.addEventListener('mousedown', (event) => {
    if (event.button !== 0 || event.target.closest(NOT_A_HANDLE)) return;
    event.preventDefault();  // no text selection while the window moves
    dragging = true;
    run('move_begin', {}, { quiet: true });
  });
  const endDrag = () => {
    if (!dragging) return;
    dragging = false;
    run('move_end', {}, { quiet: true });
  };
  window.addEventListener('mouseup', endDrag);
  window.addEventListener('blur', endDrag);

  minimizeButton.addEventListener('click', () => run('minimize', {}, { quiet: true }));
  trayButton.addEventListener('click', () => run('close', { tray: true }, { quiet: true }));
  quitButton.addEventListener('click', async () => {
    const choice = await dialogs.openDialog({
      tone: 'danger',
      title: t('dlg.quit.title'),
      paragraphs: [t('dlg.quit.body')],
      buttons: [
        { value: 'cancel', label: t('dlg.cancel') },
        { value: 'tray', label: t('dlg.quit.tray') },
        { value: 'quit', label: t('dlg.quit.quit'), kind: 'danger' },
      ],
      focus: 'cancel',
    });
    if (choice === 'tray') run('close', { tray: true }, { quiet: true });
    // The program ends at once and answers nothing, so no reply is asked for.
    if (choice === 'quit') run('close', { tray: false }, { reply: false });
  });
}

// Centres the window on the desktop and shows it.
export async function placeWindow(run) {
  const desktop = await run('desktop_size', {}, { quiet: true });
  const centre = (space, size) => (Number.isInteger(space) ? Math.max(0, Math.round((space - size) / 2)) : 0);
  await run('show', {
    x: centre(desktop.data?.w, WINDOW_SIZE.w),
    y: centre(desktop.data?.h, WINDOW_SIZE.h),
    w: WINDOW_SIZE.w,
    h: WINDOW_SIZE.h,
    show: true,
  }, { quiet: true });
}
