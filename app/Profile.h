#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The user's settings, kept in the profile (QSettings, organisation
// "Dunmere", application "Kelvane"; sections are groups). One table holds
// every section, key, type, default and read rule; loading, saving and the
// tests are driven by it.
class CProfile {
public:
    enum class Type { Bool, BoolNonZero, Int, String };

    // What some read rules depend on.
    struct CContext {
        int bookingInterval = 15;
        int providerKind = 1; // 0 server, 1 file (see data/SqlDialect.h)
    };

    struct CEntry {
        const char* section;
        const char* key;
        Type type;
        // As stored: an int for the flags and numbers, a text for texts.
        QVariant defaultValue;
        // Turns the stored (or default) value into the effective one; may be null.
        QVariant (*readRule)(const QVariant& stored, const CContext& context);
    };

    // A set of values by key (e.g. the "Admin" options).
    class CValues {
    public:
        int Int(const char* key) const;
        bool Bool(const char* key) const;
        QString Text(const char* key) const;
        QVariant Value(const char* key) const;
        void Set(const char* key, const QVariant& value);
        void Remove(const char* key);
        bool Has(const char* key) const;
        const QVariantMap& Map() const { return m_values; }

    private:
        QVariantMap m_values;
    };

    // The tables.
    static const QList<CEntry>& AdminTable();
    static const QList<CEntry>& KeysTable();

    // Section "Admin": every option with its read rule applied.
    static CValues LoadSettings(const CContext& context);
    // Writes every "Admin" value the set holds, in table order ("noSmlVal"
    // always as 1), and "TimeRep" = 1. The stored day is written whole, so
    // it reads back as the same day.
    static void SaveSettings(const CValues& values);
    static CValues LoadKeyCommands();
    static void SaveKeyCommands(const CValues& values);

    // Single values of the other sections.
    static QString DefUserName(); // "USER"/"DefUserName"
    static void SetDefUserName(const QString& name);
    static QString DefDatabaseName(); // "DB"/"DefDatabaseName"
    static void SetDefDatabaseName(const QString& text);
    // Whether the profile has ever named a database (even an empty one).
    static bool DatabaseNamed();
    static QString DefDirectory(); // "DB"/"DefDirectory"
    static void SetDefDirectory(const QString& path);
    static QString HelpFile();   // "Help"/"HtmlHlpF", default written back
    static QString ManualFile(); // "Help"/"DefFName"
    static void SetManualFile(const QString& path);
    static bool MultiQuery();          // "Query"/"bMulti" not 0
    static bool XlsTimeSheetOffered(); // "XLSTS"/"xlsts" == 1
    static void SaveXlsSettings(const QString& dir, const QString& templateFile);
    static void GetXlsSettings(QString& dir, QString& templateFile);
    static QString DefProjStr(); // "Admin"/"defProjStr"
    // The stored day ("Admin" CurDay, CurMonth, CurYear; each below 1 reads 1,
    // a month above 12 reads 1, a day past the month's end reads its last day).
    static void SaveCurrentDate(int year, int month, int day);
    static void LoadCurrentDate(int& year, int& month, int& day);
    // An integer whose value name is the index in decimal; -1 when missing.
    static int GetIndexedInt(const QString& section, int index);
    static void WriteIndexedInt(const QString& section, int index, int value);
};
