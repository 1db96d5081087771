#include "treelist/SarvexPropPage.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr const char* kTreeWidthProperty = "TreeWidth";

// The page's window: closing it takes the edit box's value.
class CPageWidget final : public QGroupBox {
public:
    CPageWidget(CSarvexPropPage& page, const QString& title, QWidget* parent)
        : QGroupBox(title, parent)
        , m_page(page)
    {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        m_page.OnClose();
        QGroupBox::closeEvent(event);
    }

private:
    CSarvexPropPage& m_page;
};

} // namespace

const CDispatchTable<CSarvexPropPage>& CSarvexPropPage::DispatchTable()
{
    using T = CDispatchTable<CSarvexPropPage>;
    static const T table{
        T::Property<&CSarvexPropPage::Caption>("Caption"),
        T::Property<&CSarvexPropPage::TreeWidth, &CSarvexPropPage::SetTreeWidth>("TreeWidth"),
        T::Method<&CSarvexPropPage::SetObject>("SetObject"),
        T::Method<&CSarvexPropPage::Apply>("Apply"),
    };
    return table;
}

QString CSarvexPropPage::Caption() const
{
    return QStringLiteral("General");
}

std::int32_t CSarvexPropPage::TreeWidth()
{
    UpdateData(true);
    return m_treeWidth;
}

void CSarvexPropPage::SetTreeWidth(std::int32_t width)
{
    m_treeWidth = width;
    UpdateData(false);
}

bool CSarvexPropPage::SetObject(ComPtr<IDispatch> object)
{
    m_object = std::move(object);
    if (!m_object)
        return false;
    DispId id = 0;
    Variant value;
    std::int32_t width = 0;
    if (Failed(m_object->GetIDsOfNames(kTreeWidthProperty, &id)) ||
        Failed(m_object->Invoke(id, InvokeKind::PropertyGet, {}, &value)) ||
        Failed(value.ToLong(&width)))
        return false;
    SetTreeWidth(width);
    return true;
}

bool CSarvexPropPage::Apply()
{
    UpdateData(true);
    DispId id = 0;
    if (!m_object || Failed(m_object->GetIDsOfNames(kTreeWidthProperty, &id)))
        return false;
    const std::array<Variant, 1> value{Variant(m_treeWidth)};
    return Succeeded(m_object->Invoke(id, InvokeKind::PropertyPut, value, nullptr));
}

void CSarvexPropPage::OnClose()
{
    UpdateData(true);
}

void CSarvexPropPage::UpdateData(bool save)
{
    if (!m_edit)
        return;
    if (!save) {
        m_edit->setText(QString::number(m_treeWidth));
        return;
    }
    bool ok = false;
    const int width = m_edit->text().toInt(&ok);
    // A value that is no number keeps the one before.
    if (ok)
        m_treeWidth = width;
    else
        m_edit->setText(QString::number(m_treeWidth));
}

QWidget* CSarvexPropPage::MakeWidget(QWidget* parent)
{
    auto* page = new CPageWidget(*this, Caption(), parent);
    page->setObjectName(QStringLiteral("id200"));
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Tree Width "), page));
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QStringLiteral("id%1").arg(kTreeWidthEditId));
    edit->setValidator(new QIntValidator(edit));
    row->addWidget(edit);
    layout->addLayout(row);
    layout->addStretch();
    m_edit = edit;
    UpdateData(false);
    return page;
}
