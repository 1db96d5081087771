#include "timeline/PlentorPropPage.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

const CDispatchTable<CPlentorPropPage>& CPlentorPropPage::DispatchTable()
{
    using T = CDispatchTable<CPlentorPropPage>;
    static const T table{
        T::Property<&CPlentorPropPage::Caption>("Caption"),
    };
    return table;
}

QString CPlentorPropPage::Caption() const
{
    return QStringLiteral("General");
}

QWidget* CPlentorPropPage::MakeWidget(QWidget* parent)
{
    auto* page = new QGroupBox(Caption(), parent);
    page->setObjectName(QStringLiteral("id200"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("No properties"), page));
    layout->addStretch();
    return page;
}
