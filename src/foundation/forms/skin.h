#pragma once

// The skin chooser and the skin service of the main window.

#include <QDialog>
#include <QSqlDatabase>

struct LoginState;
class QComboBox;
class QLabel;
class QPushButton;

class TF_Skin final : public QDialog
{
    Q_OBJECT

public:
    // `login` gives the operator (CurrentOperatorName, empty before anyone logs in) and the
    // font size; it must outlive the form.
    TF_Skin(const QSqlDatabase &db, const LoginState &login, QWidget *parent = nullptr);

    // Applies a skin of the catalogue; any other name applies "iMaginary" and stores it for
    // the current operator only (nobody logged in: no row changes).
    void ChangeSkin(const QString &name);
    // The operator's stored skin (inserted when missing), applied when it is one of the
    // catalogue; any other name keeps the present look.
    void setAdminSkin();

    QComboBox *cbSkin() const { return m_list; }
    QPushButton *btnOK() const { return m_ok; }
    void btnOKClick();
    void FormActivate();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QSqlDatabase m_db;
    const LoginState &m_login;
    QComboBox *m_list;
    QPushButton *m_ok;
};
