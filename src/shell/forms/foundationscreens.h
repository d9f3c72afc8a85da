#pragma once

// The foundation's screens in the registry: TF_Xtcs "系统设置" (qtcz 7), the note dialog TF_Djbz
// and its editor TF_Djbz_Add. The screens live in foundation/forms; they are registered here
// because the registry belongs to the shell.

class ScreenRegistry;

void RegisterFoundationScreens(ScreenRegistry &registry);
