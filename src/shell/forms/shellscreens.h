#pragma once

class ScreenRegistry;

// The shell's own screens beside the administration: the tip of the day TF_Mryt, the reminders
// TF_Sjtx, the contact screen TF_Lxwm, the maintenance board TF_Xtwh, the data clean-up TF_Sjql
// and the period closing TF_Nzjs.
void RegisterShellScreens(ScreenRegistry &registry);
