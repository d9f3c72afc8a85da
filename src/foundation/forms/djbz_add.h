#pragma once

#include "screenkit/screenbase.h"

#include <QSqlDatabase>

class Notices;
class QLineEdit;
class QPushButton;
struct LoginState;

// "增加常用备注信息" / "修改常用备注信息": one document-note preset. Add mode without a preset
// code; modify mode on the preset `presetSn` holding `text`.
class TF_Djbz_Add final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Djbz_Add(const QSqlDatabase &db, const LoginState &state, Notices &notices, const QString &presetSn = QString(),
                const QString &text = QString(), QWidget *parent = nullptr);

    void btnSaveClick();
    // The preset saved (set when the dialog closes on a save).
    QString savedSn() const { return m_savedSn; }

    QLineEdit *edNote = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnExit = nullptr;

private:
    QSqlDatabase m_db;
    Notices &m_notices;
    QString m_presetSn;
    QString m_savedSn;
};
