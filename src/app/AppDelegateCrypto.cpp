// Password-hidden bookmarks under the controller's names; the encryption controller does the work.
#include "app/AppDelegate.h"

namespace linvara {

bool AppDelegate::EncryptedSelectedBookMarkAction() { return encryption_.EncryptedSelectedBookMarkAction(); }
bool AppDelegate::DecrypteSelectedBookMarkAction() { return encryption_.DecrypteSelectedBookMarkAction(); }
void AppDelegate::CreatePasswordAction() { encryption_.CreatePasswordAction(); }
void AppDelegate::CancleCreatePasswordAction() { encryption_.CancleCreatePasswordAction(); }
void AppDelegate::EnterPasswordPressed() { encryption_.EnterPasswordPressed(); }

}  // namespace linvara
