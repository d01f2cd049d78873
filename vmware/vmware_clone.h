#pragma once

namespace VmwareBackend {

// Makes `count` clones of the master: takes snapshot "888" of it (removing one
// left from an earlier run first), clones 0 .. count-1 into
// StoragePath<i>\<i>.vmx named NamePrefix<i>, and removes the snapshot again.
// Window messages are handled between two clones. The tool's results are not
// examined, so the answer is always true.
bool CloneVms(int count);

}  // namespace VmwareBackend
