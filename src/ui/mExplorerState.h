// What the folder-window commands ask of a folder window to show their buttons: whether it shows
// the default Drafts folder, whether its selection holds a mail, and the command used last for
// the kind of folder it shows (the cached action, 0 To ... 4 existing list; any stored value
// outside 0 to 4 counts as none).
#pragma once

#include <cstdint>
#include <memory>

namespace plexa {
class Explorer;
class Services;
}  // namespace plexa

namespace plexa::mExplorerState {

inline constexpr int32_t kCachedTo = 0;
inline constexpr int32_t kCachedCC = 1;
inline constexpr int32_t kCachedBCC = 2;
inline constexpr int32_t kCachedNewDL = 3;
inline constexpr int32_t kCachedExistingDL = 4;

// The current folder has the default Drafts folder's entry id and store id. Throws HostError.
bool IsDraftsFolderActive(Services& services, const std::shared_ptr<Explorer>& explorer);
// Some selected item is a mail (class 43). Throws HostError.
bool SelectionHasMail(const std::shared_ptr<Explorer>& explorer);
// The stored code for the current folder's item type; the default when the type cannot be read,
// nothing is stored or the stored code is outside 0 to 4.
int32_t GetCachedAction(Services& services, const std::shared_ptr<Explorer>& explorer,
                        int32_t defaultValue);
int32_t GetCachedActionOrTo(Services& services, const std::shared_ptr<Explorer>& explorer);
bool HasCachedAction(Services& services, const std::shared_ptr<Explorer>& explorer);

}  // namespace plexa::mExplorerState
