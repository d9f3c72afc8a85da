#pragma once

// The engine's screens in the registry: TF_Tmdy "条码打印" (qtcz 14), TF_Bbsj "报表设计"
// (qtcz 19) and the template editor TF_ReportDesign (made by class name with an empty
// template name; the other two open it on their own templates). The screens live in
// engine/forms; they are registered here because the registry belongs to the shell, which is
// built after the engine.

class ScreenRegistry;

void RegisterEngineScreens(ScreenRegistry &registry);
