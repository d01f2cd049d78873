#include "tests/fuzz/damaged_file_cases.h"

#include "commands/result_texts.h"

namespace {

using namespace ResultText;

// Paths are relative: the commands and the tools resolve them against the
// current folder, the sandbox. (Short samples also mean fewer cuts to try.)
constexpr SampleFile kSamples[] = {
    {"VMwarePrefs.json",
     R"({"Prefs":[{"InstallationPath":"\"standins\\vmrun.exe\"","MasterPath":"master\\master.vmx",)"
     R"("StoragePath":"store\\","BootTask":"","CloneTypy":"linked","CloneNumber":2,"NamePrefix":"web",)"
     R"("StartIntervalTime":0}]})"},
    {"VBoxPrefs.json",
     R"({"Prefs":[{"InstallationPath":"\"standins\\VBoxManage.exe\"","MasterName":"master",)"
     R"("StoragePath":"vbox\\","CloneTypy":"link","CloneNumber":1,"NamePrefix":"vm","StartIntervalTime":0}]})"},
    {"vboxBootlist.json",
     R"({"code":200,"data":[{"id":0,"snapshot":0,"name":"vm0","uuid":"6f1d2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f6",)"
     R"("path":"vbox0\\vm0\\vm0.vbox","state":"running","belongTo":"master"}]})"},
    {"bootlist.json",
     R"({"code":200,"data":[{"id":0,"name":"web0","path":"store\\0\\0.vmx","state":"unknown"},)"
     R"({"id":1,"name":"web1","path":"store\\1\\1.vmx","state":"runing"}]})"},
    // The VirtualBox selection list: the same file as the VMware clone list
    // (names differ in letter case only), in the shape the selection writes.
    {"bootList.json", R"({"code":200,"data":[{"boot":"master"},{"boot":"win10"}]})"},
    // Clone 1 paused, clone 0 not; the state is the 24th word after the path.
    {kInventorySample,
     ".encoding = \"UTF-8\"\r\n"
     "vmlist1.config = \"store\\0\\0.vmx\"\r\nvmlist1.DisplayName = \"web0\"\r\nvmlist1.ParentID = \"0\"\r\n"
     "vmlist1.ItemID = \"1\"\r\nvmlist1.SeqID = \"0\"\r\nvmlist1.IsFavorite = \"FALSE\"\r\nvmlist1.IsClone = \"TRUE\"\r\n"
     "vmlist1.CfgVersion = \"8\"\r\nvmlist1.State = \"normal\"\r\n"
     "vmlist2.config = \"store\\1\\1.vmx\"\r\nvmlist2.DisplayName = \"web1\"\r\nvmlist2.ParentID = \"0\"\r\n"
     "vmlist2.ItemID = \"2\"\r\nvmlist2.SeqID = \"0\"\r\nvmlist2.IsFavorite = \"FALSE\"\r\nvmlist2.IsClone = \"TRUE\"\r\n"
     "vmlist2.CfgVersion = \"8\"\r\nvmlist2.State = \"paused\"\r\n"},
};

constexpr char kStateTrue[] = R"({"state":true})";

// Single clones only: a damaged file that still reads may hold a clone count
// of 2^63 - 1, and walking every clone would then be legitimately endless.
constexpr ReaderCase kVmwareSettingsReaders[] = {
    // The text "false" stands for no settings; nothing is refreshed.
    {R"({"func":"resultjson"})", -1, kNoConfig, R"({"resultjson":"false"})", FileAfter::Kept, true},
    {R"({"func":"getlists"})", -1, kNoConfig, R"({"reslist":""})", FileAfter::Kept, true},
    // Without settings the tool lines name no program: nothing runs, all "succeed".
    {R"({"func":"Vm_Start_Cloning","data":{"number":1}})", 200, kCloneOk, kStateTrue, FileAfter::Kept, true},
    {R"({"func":"Vm_PowerON","data":{"type":1,"VmxId":0}})", 200, kOk, kStateTrue, FileAfter::Kept, true},
    {R"({"func":"Vm_Pause","data":{"type":1,"VmxId":0}})", 200, kOk, kStateTrue, FileAfter::Kept, true},
    {R"({"func":"Vm_UnPause","data":{"type":1,"VmxId":0}})", 200, kOk, kStateTrue, FileAfter::Kept, true},
    {R"({"func":"Vm_Reboot","data":{"type":1,"VmxId":0,"Restart_Type":1}})", 200, kOk, kStateTrue, FileAfter::Kept,
     true},
    {R"({"func":"Vm_Shutdown","data":{"type":1,"VmxId":1,"off_Type":0}})", 200, kOk, kStateTrue, FileAfter::Kept,
     true},
    // Clone 7 does not exist: a file that reads removes nothing either.
    {R"({"func":"Vm_Delete","data":{"type":1,"VmxId":7}})", 200, kOk, kStateTrue, FileAfter::Kept, true},
};

constexpr ReaderCase kVboxSettingsReaders[] = {
    {R"({"func":"ResultVBoxPrefs"})", -1, kNoVboxPrefs, R"({"RsultBoxPrefs":"-1"})", FileAfter::Kept, true},
    {R"({"func":"resultseLectlist"})", -1, kCloneFailed, R"({"RsultseLectlist":"-1"})", FileAfter::Kept, true},
    // The file is there, so the operations run with empty members: no tool
    // path, hence no tool run, and the answers of success.
    {R"({"func":"cloneVBox","data":{"number":1}})", 200, kCloneOk, R"({"RsultseLectlist":0})", FileAfter::Kept, true},
    // No query is answered: each clone keeps its uuid and path, its state is unknown.
    {R"({"func":"getStatusVBoxlist"})", 200, kOk,
     R"({"Rsultvboxlist":{"code":200,"data":[{"id":0,"snapshot":0,"name":"vm0",)"
     R"("uuid":"6f1d2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f6","path":"vbox0\\vm0\\vm0.vbox","state":"","belongTo":"master"}]}})",
     FileAfter::Kept, true},
    {R"({"func":"startVBox","data":{"type":1,"id":0}})", 200, kOk, R"({"startVBox":0})", FileAfter::Kept, true},
    {R"({"func":"offVBox","data":{"type":1,"id":0}})", 200, kOk, R"({"offVBox":0})", FileAfter::Kept, true},
    {R"({"func":"restVBox","data":{"type":0}})", 200, kOk, R"({"restVBox":0})", FileAfter::Kept, true},
    {R"({"func":"unpauseVBox","data":{"type":1,"id":0}})", 200, kOk, R"({"unpauseVBox":0})", FileAfter::Kept, true},
    {R"({"func":"repauseVBox","data":{"type":0}})", 200, kOk, R"({"repauseVBox":0})", FileAfter::Kept, true},
    {R"({"func":"delVBox","data":{"type":1,"id":0}})", 200, kOk, R"({"delVBox":0})", FileAfter::Kept, true},
    {R"({"func":"delVBox","data":{"type":0}})", 200, kOk, R"({"delVBox":0})", FileAfter::Kept, true},
};

constexpr ReaderCase kVboxListReaders[] = {
    // An unreadable list is left as it is.
    {R"({"func":"getStatusVBoxlist"})", -1, kNoVboxList, R"({"Rsultvboxlist":"-1"})", FileAfter::Kept, true},
    // The list is there but holds no clone: nothing to act on, and success.
    {R"({"func":"startVBox","data":{"type":0}})", 200, kOk, R"({"startVBox":0})", FileAfter::Kept, true},
    {R"({"func":"startVBox","data":{"type":1,"id":0}})", 200, kOk, R"({"startVBox":0})", FileAfter::Kept, true},
    {R"({"func":"offVBox","data":{"type":0}})", 200, kOk, R"({"offVBox":0})", FileAfter::Kept, true},
    {R"({"func":"offVBox","data":{"type":1,"id":0}})", 200, kOk, R"({"offVBox":0})", FileAfter::Kept, true},
    {R"({"func":"restVBox","data":{"type":0}})", 200, kOk, R"({"restVBox":0})", FileAfter::Kept, true},
    {R"({"func":"unpauseVBox","data":{"type":0}})", 200, kOk, R"({"unpauseVBox":0})", FileAfter::Kept, true},
    {R"({"func":"repauseVBox","data":{"type":1,"id":0}})", 200, kOk, R"({"repauseVBox":0})", FileAfter::Kept, true},
    // Deleting one clone does not overwrite a list it cannot read ...
    {R"({"func":"delVBox","data":{"type":1,"id":0}})", 200, kOk, R"({"delVBox":0})", FileAfter::Kept, true},
    // ... deleting every clone removes the list, as it always does.
    {R"({"func":"delVBox","data":{"type":0}})", 200, kOk, R"({"delVBox":0})", FileAfter::Removed, true},
};

constexpr char kRebuiltList[] =
    R"({"reslist":{"code":200,"data":[{"id":0,"name":"web0","path":"store\\0\\0.vmx","state":"unknown"},)"
    R"({"id":1,"name":"web1","path":"store\\1\\1.vmx","state":"unknown"}]}})";

constexpr ReaderCase kVmwareListReaders[] = {
    // Suspending one clone marks it in a list it can read, and leaves alone
    // one it cannot. (The settings name no tool here, so nothing runs.)
    {R"({"func":"Vm_Pause","data":{"type":1,"VmxId":0}})", 200, kOk, kStateTrue, FileAfter::Kept, true},
    {R"({"func":"Vm_Pause","data":{"type":1,"VmxId":1}})", 200, kOk, kStateTrue, FileAfter::Kept, true},
    // The refresh builds the list from the clone folders, whatever it held.
    {R"({"func":"getlists"})", 200, kOk, kRebuiltList, FileAfter::Rebuilt, true},
};

// Read by the refresh once it has rebuilt the list; the states it answers are
// worked out from the file's words for each damaged form.
constexpr ReaderCase kInventoryReaders[] = {
    {R"({"func":"getlists"})", 200, kOk, kRebuiltList, FileAfter::Kept, true},
};

constexpr DamagedFileCase kCases[] = {
    {"VmwareSettings", "VMwarePrefs.json", "CloneNumber", "NamePrefix", false, kVmwareSettingsReaders},
    {"VirtualBoxSettings", "VBoxPrefs.json", "CloneNumber", "NamePrefix", false, kVboxSettingsReaders},
    {"VirtualBoxCloneList", "vboxBootlist.json", "id", "uuid", false, kVboxListReaders},
    {"VmwareCloneList", "bootlist.json", "id", "name", true, kVmwareListReaders},
    {"SelectionList", "bootList.json", "code", "boot", true, kVmwareListReaders},
    {"WorkstationInventory", nullptr, nullptr, nullptr, true, kInventoryReaders},
};

}  // namespace

std::span<const DamagedFileCase> DamagedFileCases() { return kCases; }
std::span<const SampleFile> SampleFiles() { return kSamples; }
