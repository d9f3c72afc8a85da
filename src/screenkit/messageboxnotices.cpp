#include "screenkit/messageboxnotices.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace {

QWidget *parentOr(QWidget *parent)
{
    return parent ? parent : QApplication::activeWindow();
}

// A short text makes a narrow box whose title bar cuts the title ("系…"): the box is at least
// as wide as its title plus the title bar's icon and buttons.
void KeepTitleVisible(QMessageBox &box)
{
    const int title = box.fontMetrics().horizontalAdvance(box.windowTitle()) * 3 / 2;
    const int width = qMax(kMessageBoxMinimumWidth, title + 160);
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

} // namespace

void MessageBoxNotices::notice(const QString &text)
{
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kNoticeTitle), text,
                    QMessageBox::NoButton, parentOr(m_parent));
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    KeepTitleVisible(box);
    box.exec();
}

Notices::Answer MessageBoxNotices::ask(const QString &text, bool withCancel)
{
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kQuestionTitle), text,
                    QMessageBox::NoButton, parentOr(m_parent));
    QPushButton *yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
    QPushButton *cancel = withCancel ? box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole)
                                     : nullptr;
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel ? cancel : no);
    KeepTitleVisible(box);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (cancel && box.clickedButton() == cancel)
        return Answer::Cancel;
    return Answer::No;
}

void MessageBoxNotices::error(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kNoticeTitle), text,
                    QMessageBox::NoButton, parentOr(m_parent));
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    KeepTitleVisible(box);
    box.exec();
}
