#pragma once

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QSettings;

// Where classes are found: an INI file of class ids with their ProgIDs,
// libraries and type libraries, and of component categories. A file that
// cannot be read, or is garbled, reads as empty; registering into a garbled
// file starts it afresh.
class CClassRegistry {
public:
    struct ClassRecord {
        Guid clsid;
        QString progId;
        QString name;
        QString library; // absolute path
        QString threadingModel = QStringLiteral("Apartment");
        std::uint32_t miscStatus = 0;
        Guid typeLib;
        QString typeLibVersion;
    };

    struct TypeLibRecord {
        Guid id;
        QString version;
        QString name;
        QString library;
        QString helpFile;
    };

    // The registry at Location().
    CClassRegistry();
    explicit CClassRegistry(const QString& fileName);
    ~CClassRegistry();
    CClassRegistry(const CClassRegistry&) = delete;
    CClassRegistry& operator=(const CClassRegistry&) = delete;

    // $KELVANE_CLASS_REGISTRY when set, else registry.ini in the user's
    // data folder (~/.local/share/Dunmere/Kelvane/).
    static QString Location();

    std::optional<ClassRecord> FindClass(const Guid& clsid) const;
    // ProgIDs compare without regard to case.
    std::optional<Guid> ClassOfProgId(const QString& progId) const;
    std::optional<TypeLibRecord> FindTypeLib(const Guid& id, const QString& version) const;
    QList<Guid> Categories() const;
    // The description in locale 409, or "".
    QString CategoryDescription(const Guid& category) const;
    QList<Guid> ImplementedCategories(const Guid& clsid) const;

    // Writes fail with kE_ACCESSDENIED when the file cannot be written, and
    // with kE_INVALIDARG for a ProgID the file cannot hold.
    HRESULT RegisterClass(const ClassRecord& record);
    // Removes the class and its ProgID; its categories stay.
    HRESULT UnregisterClass(const Guid& clsid);
    HRESULT RegisterTypeLib(const TypeLibRecord& record);
    HRESULT UnregisterTypeLib(const Guid& id, const QString& version);
    // The description is cut to 127 characters.
    HRESULT RegisterCategory(const Guid& category, const QString& description);
    HRESULT RegisterClassImplCategory(const Guid& clsid, const Guid& category);

private:
    bool Readable() const;
    void PrepareWrite();
    HRESULT Commit();

    std::unique_ptr<QSettings> m_settings;
};
