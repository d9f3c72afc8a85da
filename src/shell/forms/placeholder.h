#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Stands in for a screen that is not built yet: named as the screen's class, titled with the
// command's name.
class TF_Placeholder final : public QDialog
{
    Q_OBJECT
public:
    TF_Placeholder(const QString &screenClass, const QString &caption, QWidget *parent = nullptr);

    QLabel *lMsg() const { return m_lMsg; }
    QPushButton *btnClose() const { return m_btnClose; }

private:
    QLabel *m_lMsg = nullptr;
    QPushButton *m_btnClose = nullptr;
};

inline constexpr const char *kPlaceholderText = "此功能尚未完成，将在后续版本中提供。";
