// A stand-in for the native program behind js_api_cross_call: it records every
// request and answers the way the dispatcher does (same members, codes and
// texts, reply text formatted like jsoncpp's StyledWriter). Each test can change
// the answer of any command: another reply, a delay, or "hold" (the reply waits
// until the test releases it).

export const MSG = {
  OK: 'success',
  CLONE_OK: 'ok',
  CLONE_FAILED: 'No VBox virtual machine registered!',
  EXEC_FAILED: 'failed:Execution failed, please check the environment!',
  NO_CONFIG: 'There is no configuration file, or the corresponding file and directory do not exist!',
  NO_VBOX_PREFS: 'no file with VBoxPrefs.json!',
  NO_VBOX_LIST: 'no file with vboxBootlist.json!',
  SAVE_FAILED: 'failed',
  VERSION: 'Get the Version',
};

export const VMWARE_PREFS = {
  InstallationPath: '"C:\\Program Files (x86)\\VMware\\VMware Workstation\\vmrun.exe"',
  MasterPath: 'D:\\masters\\win10\\win10.vmx',
  StoragePath: 'D:\\clones\\',
  BootTask: '',
  CloneTypy: 'linked',
  CloneNumber: 4,
  NamePrefix: 'web',
  StartIntervalTime: 5,
};

export const VMWARE_LIST = [
  { id: 0, name: 'web0', path: 'D:\\clones\\0\\0.vmx', state: 'runing' },
  { id: 1, name: 'web1', path: 'D:\\clones\\1\\1.vmx', state: 'paused' },
  { id: 2, name: 'web2', path: 'D:\\clones\\2\\2.vmx', state: 'unknown' },
  { id: 3, name: 'web3', path: 'D:\\clones\\3\\3.vmx', state: 'unknown' },
];

export const VBOX_PREFS = {
  InstallationPath: '"C:\\Program Files\\Oracle\\VirtualBox\\VBoxManage.exe"',
  MasterName: 'master',
  StoragePath: 'D:\\vbox\\',
  CloneTypy: 'link',
  CloneNumber: 2,
  NamePrefix: 'vb',
  StartIntervalTime: 0,
};

export const VBOX_LIST = [
  { id: 0, snapshot: 0, name: 'vb0', uuid: '15679737-0839-43d1-af3b-298138b47493', path: 'D:\\vbox\\0\\vb0\\vb0.vbox',
    state: 'running (since 2024-05-01T10:00:00.000000000)', belongTo: 'master' },
  { id: 1, snapshot: 1, name: 'vb1', uuid: '43739f5c-741e-40e8-93ba-28abaeba5c72', path: 'D:\\vbox\\1\\vb1\\vb1.vbox',
    state: 'powered off (since 2024-05-01T09:00:00.000000000)', belongTo: 'master' },
];

const text = (value) => JSON.stringify(value);
const ok = (data, msg = MSG.OK) => ({ code: 200, msg, data });
const failed = (msg, data = null) => ({ code: -1, msg, data });

// What the dispatcher answers on a machine with both hypervisors set up.
export const DISPATCHER_REPLIES = {
  show: ok(null),
  minimize: ok(null),
  close: ok(null),
  move_begin: ok(null),
  move_end: ok(null),
  desktop_size: ok({ w: 1920, h: 1080 }),
  getversions: ok({ VersionNumber: '1.0.1 Standard' }, MSG.VERSION),
  openUrl: failed(''),
  Vm_Clone_Settings: ok({ launch_time: 1733900000 }),
  Vm_shoose_dir: ok({ installpath: '"E:\\VMware\\vmrun.exe"' }),
  FileDialog: ok({ file: 'E:\\masters\\base\\base.vmx' }),
  Vm_shoose: ok({ StoragePath: 'E:\\farm\\' }),
  resultjson: ok({ resultjson: text({ Prefs: [VMWARE_PREFS] }) }),
  getlists: ok({ reslist: text({ code: 200, data: VMWARE_LIST }) }),
  Vm_Start_Cloning: ok({ state: true }, MSG.CLONE_OK),
  Vm_PowerON: ok({ state: true }),
  Vm_Reboot: ok({ state: true }),
  Vm_Pause: ok({ state: true }),
  Vm_UnPause: ok({ state: true }),
  Vm_Shutdown: ok({ state: true }),
  Vm_Delete: ok({ state: true }),
  VboxPreferences: ok({ state: true }),
  ResultVBoxPrefs: ok({ RsultBoxPrefs: text({ Prefs: [VBOX_PREFS] }) }),
  getStatusVBoxlist: ok({ Rsultvboxlist: text({ code: 200, data: VBOX_LIST }) }),
  resultseLectlist: ok({ RsultseLectlist: text({ code: 200, data: [{ boot: 'master' }, { boot: 'win10' }] }) }),
  cloneVBox: ok({ RsultseLectlist: 0 }, MSG.CLONE_OK),
  startVBox: ok({ startVBox: 0 }),
  offVBox: ok({ offVBox: 0 }),
  restVBox: ok({ restVBox: 0 }),
  delVBox: ok({ delVBox: 0 }),
  unpauseVBox: ok({ unpauseVBox: 0 }),
  repauseVBox: ok({ repauseVBox: 0 }),
  vbox_shoose_dir: ok({ InstallationPath: '"E:\\Oracle\\VirtualBox\\VBoxManage.exe"' }),
};

// A machine where nothing has been saved yet.
export const FIRST_RUN_REPLIES = {
  resultjson: failed(MSG.NO_CONFIG, { resultjson: 'false' }),
  ResultVBoxPrefs: failed(MSG.NO_VBOX_PREFS, { RsultBoxPrefs: '-1' }),
  getlists: failed(MSG.NO_CONFIG, { reslist: '' }),
  getStatusVBoxlist: failed(MSG.NO_VBOX_LIST, { Rsultvboxlist: '-1' }),
  resultseLectlist: failed(MSG.CLONE_FAILED, { RsultseLectlist: '-1' }),
};

export { ok, failed, text as jsonText };

// Runs inside the page (given to page.addInitScript with { replies }). A reply
// plan is { code, msg, data, delayMs, hold }, or a list of plans used in turn
// (the last one stays).
export function installNativeMock({ replies }) {
  const plans = { ...replies };
  const uses = {};
  const state = { requests: [], held: [] };

  function planFor(func) {
    const plan = plans[func];
    if (plan === undefined) return { code: -1, msg: '', data: null };  // not a command
    if (!Array.isArray(plan)) return plan;
    uses[func] = (uses[func] ?? -1) + 1;
    return plan[Math.min(uses[func], plan.length - 1)];
  }

  // jsoncpp StyledWriter: three-space indent, " : ", members sorted, non-ASCII as \uXXXX.
  function styled(reply) {
    const ordered = { code: reply.code, data: reply.data, func: reply.func, msg: reply.msg, tag: reply.tag };
    return `${JSON.stringify(ordered, null, 3).replace(/": /g, '" : ').replace(/[\u0080-\uffff]/g, (c) => `\\u${c.charCodeAt(0).toString(16).padStart(4, '0')}`)}\n`;
  }

  window.js_api_cross_call = function js_api_cross_call(requestText, callback) {
    let request = null;
    try { request = JSON.parse(requestText); } catch { /* an unreadable request is an unknown command */ }
    const func = typeof request?.func === 'string' ? request.func : '';
    state.requests.push({ func, tag: request?.tag, data: request?.data, text: requestText, withCallback: typeof callback === 'function' });
    if (typeof callback !== 'function') return;
    if (func === 'close' && request?.data?.tray === false) return;  // the program is gone: no reply
    const plan = planFor(func);
    const tag = Number.parseInt(request?.tag, 10) || 0;
    const reply = styled({ code: plan.code ?? 200, data: plan.data ?? null, func, msg: plan.msg ?? '', tag });
    const send = () => callback(reply);
    if (plan.hold) state.held.push({ func, send });
    else setTimeout(send, plan.delayMs ?? 0);
  };

  state.release = (func) => {
    const index = state.held.findIndex((held) => held.func === func);
    if (index < 0) return false;
    state.held.splice(index, 1)[0].send();
    return true;
  };
  state.setReply = (func, plan) => { plans[func] = plan; delete uses[func]; };
  window.__native = state;
}
