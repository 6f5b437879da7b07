-- The tables of qinglan.db. The program runs this file, then makes the uuid index and trigger
-- (src/store/case_identity.cpp), then runs data/search_index.sql and data/divination_rows.sql
-- when it creates a new database file.

-- One row per stored case. shijian is filled by the database with the local insert time; uuid,
-- the case's identity across libraries, by a trigger with a random UUID. didian is the place of
-- the cast ("LONGITUDE,ZONE") and shizhi the clock of its pillars ("beijing" or "solar"); both
-- null for the clock read as Beijing time as it stands.
CREATE TABLE gua_table (
  id          INTEGER PRIMARY KEY AUTOINCREMENT,
  gua_ming    TEXT,
  gua_bianhao TEXT,
  lei_id      INTEGER,
  nian        INTEGER,
  yue         INTEGER,
  ri          INTEGER,
  xingbie     TEXT,
  chusheng    TEXT,
  shiyou      TEXT,
  duanyu      TEXT DEFAULT '',
  fankui      TEXT DEFAULT '',
  shijian     TEXT DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')),
  uuid        TEXT,
  zhanlei     TEXT DEFAULT '',
  -- The outcome: hit, partial, miss or pending; the day it came true or failed and the day the
  -- reading predicted, "yyyy-MM-dd" or null (src/store/case_outcome.h).
  outcome        TEXT NOT NULL DEFAULT 'pending',
  outcome_date   TEXT,
  predicted_date TEXT,
  didian      TEXT,
  shizhi      TEXT
);
CREATE INDEX gua_table_gua_bianhao ON gua_table(gua_bianhao);
CREATE INDEX gua_table_shijian ON gua_table(shijian);
CREATE INDEX gua_table_nian_yue ON gua_table(nian, yue);
CREATE INDEX gua_table_lei_nian_yue ON gua_table(lei_id, nian, yue);
-- Covers what the record of outcomes reads (src/record), so it never walks the long texts.
CREATE INDEX gua_table_record ON gua_table(lei_id, nian, yue, ri, zhanlei, xingbie, gua_bianhao, outcome,
                                           outcome_date, predicted_date);

-- Case categories.
CREATE TABLE fenlei_table (
  lei_id        INTEGER PRIMARY KEY,
  lei_mingcheng TEXT
);
CREATE INDEX fenlei_table_lei_mingcheng ON fenlei_table(lei_mingcheng);

-- Settings rows (ids 85, 86, 88) and knowledge rows (beasts, palaces, twelve stages).
CREATE TABLE zhi (
  id      INTEGER PRIMARY KEY,
  key     TEXT,
  value1  TEXT, value2  TEXT, value3  TEXT, value4  TEXT, value5  TEXT,
  value6  TEXT, value7  TEXT, value8  TEXT, value9  TEXT, value10 TEXT,
  value11 TEXT, value12 TEXT, value13 TEXT, value14 TEXT, value15 TEXT
);
CREATE INDEX zhi_key ON zhi(key);
CREATE INDEX zhi_value1 ON zhi(value1);

-- One row per hexagram, keyed by its full name.
CREATE TABLE bagua (
  gm     TEXT PRIMARY KEY,
  value1 TEXT,
  value2 TEXT,
  value3 TEXT,
  value4 TEXT
);
