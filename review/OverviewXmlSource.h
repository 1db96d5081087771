#pragma once

#include <QList>
#include <QString>

class CDBClass;

// Where the employee overview gets its XML: server procedures that each
// return one document, called by name with whole-number arguments.
class IOverviewXmlSource {
public:
    virtual ~IOverviewXmlSource() = default;
    // The document, or false with the reason in `why`.
    virtual bool Run(const QString& procedure, const QList<int>& args, QString& xml,
                     QString& why) = 0;
};

// The procedures of the connected server database, through the facade.
class COverviewXmlSource : public IOverviewXmlSource {
public:
    explicit COverviewXmlSource(CDBClass& db)
        : m_db(db)
    {}

    bool Run(const QString& procedure, const QList<int>& args, QString& xml, QString& why) override;

private:
    CDBClass& m_db;
};
