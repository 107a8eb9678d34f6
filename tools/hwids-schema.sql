-- Schema of hwids.mdb. Text compares without regard to letter case, as the original engine
-- does; the connection supplies a NOCASE that folds every letter, not only ASCII.
CREATE TABLE devicenames (ID INTEGER PRIMARY KEY AUTOINCREMENT, devicename VARCHAR(100) COLLATE NOCASE);
CREATE INDEX devicenames_devicename ON devicenames (devicename);
CREATE TABLE mfgs (ID INTEGER PRIMARY KEY AUTOINCREMENT, mfg VARCHAR(100) COLLATE NOCASE);
CREATE INDEX mfgs_mfg ON mfgs (mfg);
CREATE TABLE hwids (ID INTEGER PRIMARY KEY AUTOINCREMENT, hwid VARCHAR(125) COLLATE NOCASE, info TEXT);
CREATE INDEX hwids_hwid ON hwids (hwid);
CREATE TABLE version (dbversion VARCHAR(50));
