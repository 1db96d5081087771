#pragma once

#include "data/DateTime.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;

// A date picker that may hold no date: the box in front of it says whether
// it holds one. The time of day of the value it was given is kept.
class COptionalDateEdit : public QWidget {
    Q_OBJECT
public:
    explicit COptionalDateEdit(QWidget* parent = nullptr);

    // A null value shows no date.
    void SetValue(const CDateTime& value);
    CDateTime Value() const;
    bool HasDate() const;
    QDateEdit* Editor() const { return m_editor; }
    QCheckBox* Check() const { return m_check; }

private:
    QCheckBox* m_check;
    QDateEdit* m_editor;
    QTime m_time;
};
