#pragma once

class ScreenRegistry;

// The administration screens of the shell: TF_Admin, TF_Role, TF_PwdModi, TF_ViewLog, TF_Ztgl
// and TF_Backup.
void RegisterAdminScreens(ScreenRegistry &registry);
