#include "shell/forms/shellscreens.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "platform/system/programfolder.h"
#include "report/printeroutput.h"
#include "screenkit/filechoice.h"
#include "shell/forms/lxwm.h"
#include "shell/forms/mryt.h"
#include "shell/forms/nzjs.h"
#include "shell/forms/screenregistry.h"
#include "shell/forms/sjql.h"
#include "shell/forms/sjtx.h"
#include "shell/forms/xtwh.h"

#include <QObject>

#include <memory>

namespace {

FileChoice &screenFiles()
{
    static DialogFileChoice files;
    return files;
}

} // namespace

void RegisterShellScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Mryt"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Mryt(c.data->mainDb(), *c.state, *c.clock, *c.notices, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Sjtx"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        // The printer output lives as long as the screen.
        auto output = std::make_shared<PrinterOutput>(*c.notices, parent);
        auto *screen = new TF_Sjtx(c.data->mainDb(), *c.state, *c.notices, screenFiles(), *output, parent);
        QObject::connect(screen, &QObject::destroyed, [output] {});
        return screen;
    });
    registry.registerScreen(QStringLiteral("TF_Lxwm"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Lxwm(*c.state, *c.urls, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Xtwh"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Xtwh(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Sjql"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        CleanupContext cleanup;
        cleanup.data = c.data;
        cleanup.state = c.state;
        cleanup.clock = c.clock;
        cleanup.programFolder = ProgramFolder();
        return new TF_Sjql(cleanup, *c.notices, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Nzjs"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        ClosingContext closing;
        closing.data = c.data;
        closing.state = c.state;
        closing.clock = c.clock;
        closing.programFolder = ProgramFolder();
        return new TF_Nzjs(closing, *c.notices, screenFiles(), parent);
    });
}
