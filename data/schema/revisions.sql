-- One row per schema revision, added by a new database and by the update
-- alike, each only when it is missing: the newest active row is the version
-- the program checks at start (CSchema::kVersion). A revision that changes
-- tables, saved queries or procedures adds its row here.
-- 2.21: time-sheet rows are found by the day of WorkDate, whatever time of
-- day it carries.
@sqlite INSERT INTO ztlkpDbInfo (dbInfoDate, dbVersion, dBRevision, KelvaneMinVersion,
    KelvaneMaxVersion, VekMinVersion, VekMaxVersion, comment, isActive)
SELECT '2026-12-10 00:00:00', 2.21, 'B', 220, 299, 220, 299, 'Kelvane 2.21', 1
WHERE NOT EXISTS (SELECT 1 FROM ztlkpDbInfo WHERE dbVersion > 2.205 AND dbVersion < 2.215);
@postgres INSERT INTO ztlkpDbInfo (dbInfoDate, dbVersion, dBRevision, KelvaneMinVersion,
    KelvaneMaxVersion, VekMinVersion, VekMaxVersion, comment, isActive)
SELECT TIMESTAMP '2026-12-10 00:00:00', 2.21, 'B', 220, 299, 220, 299, 'Kelvane 2.21', 1
WHERE NOT EXISTS (SELECT 1 FROM ztlkpDbInfo WHERE dbVersion > 2.205 AND dbVersion < 2.215);
