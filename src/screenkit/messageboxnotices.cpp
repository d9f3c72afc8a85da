#include "screenkit/messageboxnotices.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QWidget *parentOr(QWidget *parent)
{
    return parent ? parent : QApplication::activeWindow();
}

} // namespace

void MessageBoxNotices::notice(const QString &text)
{
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kNoticeTitle), text,
                    QMessageBox::NoButton, parentOr(m_parent));
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
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
    box.exec();
}
