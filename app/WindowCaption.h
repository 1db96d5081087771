#pragma once

#include <QString>

class CDBClass;

// The caption of a top-level window: its title (the string of the id, or
// the fallback when there is none) with the edition, and on a database file
// the company the database belongs to.
QString BuildWindowCaption(int stringId, const QString& fallback, CDBClass* db = nullptr);
