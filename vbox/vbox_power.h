#pragma once
// Power operations and delete on the clones of vboxBootlist.json, addressed by
// the uuid of their records (filled by the status refresh).
//
// type 0: every clone, in list order; type 1: the first clone whose id is
// `id` (none matching is no error); any other type does nothing and gives -1.
// Each clone is one VBoxManage run, waited for before the next; the tool's
// results are not examined. The answer is 0 when the clones were handled.

namespace VboxBackend {

// -1 also when VBoxPrefs.json is missing (a missing list starts nothing).
int StartVms(int type, int id);

// -1 also when vboxBootlist.json is missing.
int PowerOffVms(int type, int id);
int PauseVms(int type, int id);
int ResumeVms(int type, int id);
int ResetVms(int type, int id);

// Powers the clones off, unregisters them with their files and deletes the
// master's snapshot each was made from. type 1 takes the clone's record out
// of the list (ids are kept); type 0 removes the list, and each clone's base
// folder StoragePath<id> once it is empty. -1 when the list is missing.
int DeleteVms(int type, int id);

}  // namespace VboxBackend
