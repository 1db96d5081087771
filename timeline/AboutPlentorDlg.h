#pragma once

#include <QDialog>

class QLabel;

// The control's About box, shown modally by the standard AboutBox member.
class CAboutPlentorDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutPlentorDlg(QWidget* parent = nullptr);

    QString VersionText() const;

private:
    QLabel* m_version = nullptr;
};
