// Several replies carry a file of the native program as JSON text inside a
// string member ("resultjson", "reslist", "Rsultvboxlist", ...). These read
// such texts; anything unreadable reads as nothing.

export function parseJsonText(text) {
  if (typeof text !== 'string' || text === '') return null;
  try { return JSON.parse(text); } catch { return null; }
}

// {"Prefs":[{...}]} -> the first settings record, or null.
export function readPrefs(text) {
  const root = parseJsonText(text);
  const first = Array.isArray(root?.Prefs) ? root.Prefs[0] : null;
  return first && typeof first === 'object' ? first : null;
}

function records(text) {
  const root = parseJsonText(text);
  return Array.isArray(root?.data) ? root.data.filter((r) => r && typeof r === 'object') : [];
}

const str = (value) => (typeof value === 'string' ? value : value === undefined || value === null ? '' : String(value));
const int = (value) => (Number.isFinite(Number(value)) ? Math.trunc(Number(value)) : 0);
const byId = (a, b) => a.id - b.id;

// VMware clone list {"code":200,"data":[{id,name,path,state}]}; the program lists
// folders in file-system order (10 before 2), the table shows them by number.
export function readVmwareList(text) {
  return records(text).map((r) => ({ id: int(r.id), name: str(r.name), path: str(r.path), state: str(r.state) })).sort(byId);
}

// VirtualBox clone list {"code":200,"data":[{id,snapshot,name,uuid,path,state,belongTo}]}.
export function readVboxList(text) {
  return records(text).map((r) => ({
    id: int(r.id), snapshot: int(r.snapshot), name: str(r.name), uuid: str(r.uuid),
    path: str(r.path), state: str(r.state), belongTo: str(r.belongTo),
  })).sort(byId);
}

// Machines that can be the VirtualBox master: {"code":200,"data":[{"boot":name}]}.
export function readSelectableMasters(text) {
  return records(text).map((r) => str(r.boot)).filter(Boolean);
}

// "D:\c\3\3.vmx" -> "D:\c\3\" (the folder a file is in, with its backslash).
export function folderOf(path) {
  const cut = Math.max(path.lastIndexOf('\\'), path.lastIndexOf('/'));
  return cut >= 0 ? path.slice(0, cut + 1) : '';
}

// The state badge of a VMware clone: "runing" (sic), "paused" or "unknown".
export function vmwareStateKind(state) {
  if (state === 'runing' || state === 'running') return 'running';
  if (state === 'paused') return 'paused';
  return 'notRunning';
}

// VirtualBox states are the tool's own text, e.g. "running (since 2024-...)";
// "dbug" is the placeholder written before the first status refresh.
export function vboxState(state) {
  const text = state.trim();
  const since = text.match(/\(since ([^)]*)\)/)?.[1] ?? '';
  const word = text.replace(/\(.*$/, '').trim().toLowerCase();
  const KINDS = {
    running: 'running', paused: 'paused', 'powered off': 'off', saved: 'saved', aborted: 'aborted',
    starting: 'changing', stopping: 'changing', saving: 'changing', restoring: 'changing',
    'live snapshotting': 'changing', 'taking snapshot': 'changing', dbug: 'unrefreshed', '': 'unknown',
  };
  return { kind: KINDS[word] ?? 'other', word: text.replace(/\(.*$/, '').trim(), since: since.replace(/\.\d+$/, '') };
}
