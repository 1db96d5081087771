#pragma once

#include <QList>
#include <QString>

#include <memory>

// The employee's summary document: elements of four kinds under one root,
// each with its id as first attribute and the name to show as second.
class COverviewSummary {
public:
    struct CItem {
        QString id;   // the first attribute's text
        QString name; // the second's; "Unknown" when there is none or it is empty
    };

    COverviewSummary();
    ~COverviewSummary();
    COverviewSummary(const COverviewSummary&) = delete;
    COverviewSummary& operator=(const COverviewSummary&) = delete;

    // False with the parser's reason when the text is not a document.
    bool Load(const QString& xml, QString* why);
    bool IsLoaded() const;

    // The elements an XPath step picks from the root's children
    // ("Project[@State='Active']"), in document order; none for a step
    // that is not XPath.
    QList<CItem> Select(const QString& step) const;
    // The years from `first` to `last` that some element of that name
    // carries in its Year attribute, ascending.
    QList<int> Years(const QString& element, int first, int last) const;

private:
    struct CDoc;
    std::unique_ptr<CDoc> m_doc;
};
