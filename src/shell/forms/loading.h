#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// The splash: three progress texts one second apart, then it closes itself.
class TF_Loading final : public QDialog
{
    Q_OBJECT
public:
    explicit TF_Loading(QWidget *parent = nullptr);

    int splashStep() const { return m_splashStep; }
    QLabel *lMsg() const { return m_lMsg; }
    QTimer *timer1() const { return m_timer1; }

    void FormActivate();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_image1 = nullptr;
    QLabel *m_lMsg = nullptr;
    QTimer *m_timer1 = nullptr;
    int m_splashStep = 0;
    bool m_activated = false;
};
