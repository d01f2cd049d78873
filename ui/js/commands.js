// How long the page waits for each native command, and which ones are window
// plumbing (answered at once, not worth a busy state or a success notice).
// The native program handles one command at a time, so a long one delays
// everything sent after it; the timeouts are generous on purpose.

const SECOND = 1000;
const MINUTE = 60 * SECOND;
const HOUR = 60 * MINUTE;

const KINDS = {
  window: { timeoutMs: 15 * SECOND, plumbing: true },
  dialog: { timeoutMs: 0, plumbing: false },        // a native chooser waits for the user
  query: { timeoutMs: 15 * MINUTE, plumbing: false }, // lists run the tool once or more per clone
  work: { timeoutMs: 4 * HOUR, plumbing: false },     // cloning, power and delete over every clone
};

const KIND_OF = {
  show: 'window', minimize: 'window', close: 'window', move_begin: 'window', move_end: 'window',
  desktop_size: 'window', openUrl: 'window',
  Vm_shoose_dir: 'dialog', vbox_shoose_dir: 'dialog', Vm_shoose: 'dialog', FileDialog: 'dialog',
  getversions: 'query', resultjson: 'query', ResultVBoxPrefs: 'query', getlists: 'query',
  getStatusVBoxlist: 'query', resultseLectlist: 'query', Vm_Clone_Settings: 'query', VboxPreferences: 'query',
  Vm_Start_Cloning: 'work', Vm_PowerON: 'work', Vm_Reboot: 'work', Vm_Pause: 'work', Vm_UnPause: 'work',
  Vm_Shutdown: 'work', Vm_Delete: 'work', cloneVBox: 'work', startVBox: 'work', offVBox: 'work',
  restVBox: 'work', delVBox: 'work', unpauseVBox: 'work', repauseVBox: 'work',
};

function kind(func) {
  return KINDS[KIND_OF[func] ?? 'work'];
}

export function timeoutFor(func) {
  return kind(func).timeoutMs;
}

export function isPlumbing(func) {
  return kind(func).plumbing;
}
