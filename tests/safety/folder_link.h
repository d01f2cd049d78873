#pragma once
// A link to a folder (a junction: a mount point made with
// FSCTL_SET_REPARSE_POINT), removed as a link when the object goes, never
// what it points to.
//
// Wine 8 refuses FSCTL_SET_REPARSE_POINT (ERROR_NOT_SUPPORTED); there the
// link is a Unix symbolic link, made and removed by /bin/ln and /bin/rm,
// which Wine shows with FILE_ATTRIBUTE_REPARSE_POINT as Windows shows a
// junction. Wine cannot remove such a link through the Windows file
// functions, so code under test that tries leaves it in place.

#include <string>

namespace safety {

class FolderLink {
 public:
  // `link` must not exist; `target` is an existing folder. Both are full
  // paths without a trailing backslash.
  FolderLink(const std::string& link, const std::string& target);
  ~FolderLink();
  FolderLink(const FolderLink&) = delete;
  FolderLink& operator=(const FolderLink&) = delete;

  // Whether the link exists and looks like a link to a folder.
  bool Made() const;
  const std::string& path() const { return link_; }

  // False for Wine's Unix link, which RemoveDirectory cannot take away.
  bool RemovableAsLink() const { return !unixLink_; }

 private:
  std::string link_;
  bool unixLink_ = false;
};

}  // namespace safety
