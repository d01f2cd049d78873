#pragma once

namespace VboxBackend {

// Makes `count` clones of the master, one after another: for clone i it takes
// the master's live snapshot "i" and clones the master from it as
// NamePrefix<i> into the base folder StoragePath<i>. Then it replaces
// vboxBootlist.json with one record per requested clone (uuid, path and state
// hold the placeholder "dbug" until the next status refresh); with no clones
// the list holds only its code. The tool's results are not examined.
// 0 when done, -1 without running anything when VBoxPrefs.json is missing.
int CloneFromMaster(int count);

}  // namespace VboxBackend
