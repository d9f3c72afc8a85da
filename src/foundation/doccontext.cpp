#include "foundation/doccontext.h"

#include <QVariant>

QString DocumentContext::pageTag() const
{
    return pending() ? type.sourceTag + QStringLiteral("sh") : type.sourceTag;
}

void DocumentContext::renumber(const QString &fresh)
{
    if (fresh.isEmpty() || fresh == number)
        return;
    number = fresh;
    if (numberChanged)
        numberChanged(fresh);
}

void DocumentContext::notifyLinesChanged() const
{
    if (linesChanged)
        linesChanged();
}

void SetDocumentContext(QObject *dialog, DocumentContext *context)
{
    dialog->setProperty(kDocumentContextProperty, QVariant::fromValue(context));
}

DocumentContext *DocumentContextOf(const QObject *dialog)
{
    return dialog->property(kDocumentContextProperty).value<DocumentContext *>();
}

DocumentContext *DocumentContextOr(const QObject *dialog, DocumentContext &own, const DocType &type)
{
    if (DocumentContext *given = DocumentContextOf(dialog))
        return given;
    own.type = type;
    return &own;
}
