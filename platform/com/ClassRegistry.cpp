#include "platform/com/ClassRegistry.h"

#include "platform/Characters.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr int kMaxCategoryDescription = 127;

// Keys hold ids without braces, which QSettings would otherwise escape.
QString Key(const Guid& id)
{
    return id.ToString().mid(1, 36);
}

QString ClassGroup(const Guid& clsid)
{
    return QStringLiteral("CLSID/") + Key(clsid);
}

QString ProgIdGroup(const QString& progId)
{
    return QStringLiteral("ProgID/") + progId;
}

QString TypeLibGroup(const Guid& id, const QString& version)
{
    return QStringLiteral("TypeLib/%1/%2").arg(Key(id), version);
}

bool IsUsableName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QList<Guid> GuidKeys(const QStringList& keys)
{
    QList<Guid> ids;
    for (const QString& key : keys) {
        if (const std::optional<Guid> id = Guid::FromString(key))
            ids.append(*id);
    }
    return ids;
}

} // namespace

CClassRegistry::CClassRegistry()
    : CClassRegistry(Location())
{}

CClassRegistry::CClassRegistry(const QString& fileName)
    : m_settings(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{}

CClassRegistry::~CClassRegistry() = default;

QString CClassRegistry::Location()
{
    const QString configured = qEnvironmentVariable("KELVANE_CLASS_REGISTRY");
    if (!configured.isEmpty())
        return configured;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Dunmere/Kelvane/registry.ini"));
}

bool CClassRegistry::Readable() const
{
    return m_settings->status() == QSettings::NoError;
}

std::optional<CClassRegistry::ClassRecord> CClassRegistry::FindClass(const Guid& clsid) const
{
    if (!Readable())
        return std::nullopt;
    const QString group = ClassGroup(clsid);
    if (!m_settings->contains(group + "/ProgID") && !m_settings->contains(group + "/Library"))
        return std::nullopt;
    m_settings->beginGroup(group);
    ClassRecord record;
    record.clsid = clsid;
    record.progId = m_settings->value(QStringLiteral("ProgID")).toString();
    record.name = m_settings->value(QStringLiteral("Name")).toString();
    record.library = m_settings->value(QStringLiteral("Library")).toString();
    record.threadingModel = m_settings->value(QStringLiteral("ThreadingModel")).toString();
    record.miscStatus = m_settings->value(QStringLiteral("MiscStatus")).toUInt();
    record.typeLib =
        Guid::FromString(m_settings->value(QStringLiteral("TypeLib")).toString()).value_or(Guid());
    record.typeLibVersion = m_settings->value(QStringLiteral("Version")).toString();
    m_settings->endGroup();
    return record;
}

std::optional<Guid> CClassRegistry::ClassOfProgId(const QString& progId) const
{
    if (!Readable() || !IsUsableName(progId))
        return std::nullopt;
    m_settings->beginGroup(QStringLiteral("ProgID"));
    const QStringList names = m_settings->childGroups();
    m_settings->endGroup();
    for (const QString& name : names) {
        if (name.compare(progId, Qt::CaseInsensitive) == 0)
            return Guid::FromString(m_settings->value(ProgIdGroup(name) + "/CLSID").toString());
    }
    return std::nullopt;
}

std::optional<CClassRegistry::TypeLibRecord>
CClassRegistry::FindTypeLib(const Guid& id, const QString& version) const
{
    if (!Readable())
        return std::nullopt;
    const QString group = TypeLibGroup(id, version);
    if (!m_settings->contains(group + "/Library"))
        return std::nullopt;
    TypeLibRecord record;
    record.id = id;
    record.version = version;
    record.name = m_settings->value(group + "/Name").toString();
    record.library = m_settings->value(group + "/Library").toString();
    record.helpFile = m_settings->value(group + "/HelpFile").toString();
    return record;
}

QList<Guid> CClassRegistry::Categories() const
{
    if (!Readable())
        return {};
    m_settings->beginGroup(QStringLiteral("ComponentCategories"));
    const QStringList keys = m_settings->childGroups();
    m_settings->endGroup();
    return GuidKeys(keys);
}

QString CClassRegistry::CategoryDescription(const Guid& category) const
{
    if (!Readable())
        return QString();
    return m_settings->value(QStringLiteral("ComponentCategories/%1/409").arg(Key(category)))
        .toString();
}

QList<Guid> CClassRegistry::ImplementedCategories(const Guid& clsid) const
{
    if (!Readable())
        return {};
    m_settings->beginGroup(ClassGroup(clsid) + "/ImplementedCategories");
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    return GuidKeys(keys);
}

HRESULT CClassRegistry::RegisterClass(const ClassRecord& record)
{
    if (!IsUsableName(record.progId))
        return kE_INVALIDARG;
    PrepareWrite();
    // A ProgID moved to another class must not keep pointing here.
    if (const std::optional<ClassRecord> old = FindClass(record.clsid);
        old && !old->progId.isEmpty() && old->progId != record.progId)
        m_settings->remove(ProgIdGroup(old->progId));
    m_settings->beginGroup(ClassGroup(record.clsid));
    m_settings->setValue(QStringLiteral("ProgID"), record.progId);
    m_settings->setValue(QStringLiteral("Name"), record.name);
    m_settings->setValue(QStringLiteral("Library"), record.library);
    m_settings->setValue(QStringLiteral("ThreadingModel"), record.threadingModel);
    m_settings->setValue(QStringLiteral("MiscStatus"), record.miscStatus);
    m_settings->setValue(QStringLiteral("TypeLib"), record.typeLib.ToString());
    m_settings->setValue(QStringLiteral("Version"), record.typeLibVersion);
    m_settings->endGroup();
    m_settings->setValue(ProgIdGroup(record.progId) + "/CLSID", record.clsid.ToString());
    return Commit();
}

HRESULT CClassRegistry::UnregisterClass(const Guid& clsid)
{
    PrepareWrite();
    if (const std::optional<ClassRecord> old = FindClass(clsid); old && IsUsableName(old->progId))
        m_settings->remove(ProgIdGroup(old->progId));
    m_settings->remove(ClassGroup(clsid));
    return Commit();
}

HRESULT CClassRegistry::RegisterTypeLib(const TypeLibRecord& record)
{
    if (!IsUsableName(record.version))
        return kE_INVALIDARG;
    PrepareWrite();
    m_settings->beginGroup(TypeLibGroup(record.id, record.version));
    m_settings->setValue(QStringLiteral("Name"), record.name);
    m_settings->setValue(QStringLiteral("Library"), record.library);
    m_settings->setValue(QStringLiteral("HelpFile"), record.helpFile);
    m_settings->endGroup();
    return Commit();
}

HRESULT CClassRegistry::UnregisterTypeLib(const Guid& id, const QString& version)
{
    if (!IsUsableName(version))
        return kE_INVALIDARG;
    PrepareWrite();
    m_settings->remove(TypeLibGroup(id, version));
    // The library's own group goes with its last version.
    m_settings->beginGroup(QStringLiteral("TypeLib/") + Key(id));
    const bool empty = m_settings->allKeys().isEmpty();
    m_settings->endGroup();
    if (empty)
        m_settings->remove(QStringLiteral("TypeLib/") + Key(id));
    return Commit();
}

HRESULT CClassRegistry::RegisterCategory(const Guid& category, const QString& description)
{
    PrepareWrite();
    m_settings->setValue(QStringLiteral("ComponentCategories/%1/409").arg(Key(category)),
                         LeftCharacters(description, kMaxCategoryDescription));
    return Commit();
}

HRESULT CClassRegistry::RegisterClassImplCategory(const Guid& clsid, const Guid& category)
{
    PrepareWrite();
    m_settings->setValue(ClassGroup(clsid) + "/ImplementedCategories/" + Key(category), true);
    return Commit();
}

void CClassRegistry::PrepareWrite()
{
    if (m_settings->status() == QSettings::FormatError)
        m_settings->clear();
}

HRESULT CClassRegistry::Commit()
{
    const QFileInfo file(m_settings->fileName());
    QDir().mkpath(file.absolutePath());
    m_settings->sync();
    return m_settings->status() == QSettings::AccessError ? kE_ACCESSDENIED : kS_OK;
}
