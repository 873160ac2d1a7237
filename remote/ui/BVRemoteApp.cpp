#include "remote/ui/BVRemoteApp.h"

#include "remote/ui/BVRemoteDlg.h"

#include "platform/files/ProfileStore.h"
#include "platform/ui/KitWindow.h"

int CBVRemoteApp::InitInstance()
{
    platform::SetProgramName("BVRemote");
    CBVRemoteDlg dialog;
    platform::SetMainWindow(&dialog);
    dialog.DoModal();
    platform::SetMainWindow(nullptr);
    return 0;
}
