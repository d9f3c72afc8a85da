#include "shell/forms/enginescreens.h"

#include "engine/forms/bbsj.h"
#include "engine/forms/reportdesign.h"
#include "engine/forms/tmdy.h"
#include "engine/printdocument.h"
#include "engine/printtemplates.h"
#include "foundation/datamodule.h"
#include "foundation/db/dberror.h"
#include "foundation/loginstate.h"
#include "report/printeroutput.h"
#include "shell/forms/screenregistry.h"

#include <QObject>

#include <memory>

namespace {

// "预览单号" of the editor: the stored document through the same routine its screen prints
// with, on the template being edited.
void ConnectDocumentPreview(TF_ReportDesign &designer, const ScreenContext &c, const QString &templateName)
{
    designer.documentPreview = [c, templateName](const QString &number, PrintJob &job) {
        QString printType;
        QString lineCode;
        if (!PrintCodesForDocument(number.left(2).toUpper(), &printType, &lineCode))
            return false;
        try {
            const PrintJob stored = PrepareStoredDocument(c.data->mainDb(), *c.state, *c.clock, number, printType,
                                                          lineCode, templateName);
            job.variables = stored.variables;
            job.dataSets = stored.dataSets;
            job.rowsPerPage = stored.rowsPerPage;
            job.decimals = stored.decimals;
        } catch (const DbError &) {
            return false;
        }
        return true;
    };
}

} // namespace

void RegisterEngineScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Tmdy"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        // The printer output lives as long as the screen.
        auto output = std::make_shared<PrinterOutput>(*c.notices, parent);
        auto *screen = new TF_Tmdy(c.data->mainDb(), *c.state, *c.notices, *output, QString(), parent);
        QObject::connect(screen, &QObject::destroyed, [output] {});
        return screen;
    });
    registry.registerScreen(QStringLiteral("TF_Bbsj"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        auto *screen = new TF_Bbsj(c.data->mainDb(), *c.clock, *c.notices, c.state->UiFontSize, QString(), parent);
        screen->openDesigner = [screen, c](const QString &file) {
            TF_ReportDesign designer(file, *c.notices, c.state->UiFontSize, QString(), screen);
            ConnectDocumentPreview(designer, c, file);
            designer.exec();
        };
        return screen;
    });
    registry.registerScreen(QStringLiteral("TF_ReportDesign"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_ReportDesign(QString(), *c.notices, c.state->UiFontSize, QString(), parent);
    });
}
