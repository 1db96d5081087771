#include "ui/ProjComboEx.h"

#include "data/DBClass.h"
#include "ui/AutoTimerOwner.h"
#include "ui/ColorBitmap.h"

#include <QPainter>

namespace {

constexpr int kSwatchSize = 10;

// The project's colour in a small square with a dark edge, so that white
// and pale colours still show.
QIcon Swatch(quint32 colorRef)
{
    CColorBitmap bitmap;
    bitmap.Load();
    bitmap.Fill(colorRef);
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.drawImage(QRect(0, 0, kSwatchSize, kSwatchSize), bitmap.Image());
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return QIcon(pixmap);
}

} // namespace

CProjComboEx::CProjComboEx(IAutoTimerOwner* autoTimer, QWidget* parent)
    : QComboBox(parent)
    , m_autoTimer(autoTimer)
{
    setIconSize(QSize(kSwatchSize, kSwatchSize));
    connect(this, &QComboBox::activated, this, [this] {
        if (m_autoTimer)
            m_autoTimer->OnSelChangeProject();
    });
}

bool CProjComboEx::FillProjects(CDBClass& db, const QString& userName)
{
    if (!db.OpenConnection())
        return false;
    QList<CProjectEntry> projects;
    const int empId = db.GetEmpIdByName(userName);
    const bool loaded = empId >= 0 && db.LoadProjects(projects, empId);
    db.ReleaseConnection(false, false);
    return loaded && SetProjects(projects);
}

bool CProjComboEx::SetProjects(const QList<CProjectEntry>& projects)
{
    clear();
    for (const CProjectEntry& project : projects)
        addItem(Swatch(static_cast<quint32>(project.ProjColour)), project.ProjName, project.ProjID);
    return !projects.isEmpty();
}
