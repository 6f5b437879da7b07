-- The tables of qinglan.db. The program runs this file, then data/divination_rows.sql, when it
-- creates a new database file.

-- One row per stored case. shijian is filled by the database with the local insert time.
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
  shijian     TEXT DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'))
);
CREATE INDEX gua_table_gua_bianhao ON gua_table(gua_bianhao);
CREATE INDEX gua_table_shijian ON gua_table(shijian);
CREATE INDEX gua_table_nian_yue ON gua_table(nian, yue);
CREATE INDEX gua_table_lei_nian_yue ON gua_table(lei_id, nian, yue);

-- Keyword search: a trigram index over the four searched texts, kept in step by triggers.
-- Keywords of three or more characters are looked up here; shorter ones scan gua_table.
CREATE VIRTUAL TABLE gua_fts USING fts5(gua_ming, shiyou, duanyu, fankui,
  content='gua_table', content_rowid='id', tokenize='trigram');
CREATE TRIGGER gua_table_fts_insert AFTER INSERT ON gua_table BEGIN
  INSERT INTO gua_fts(rowid, gua_ming, shiyou, duanyu, fankui)
    VALUES (new.id, new.gua_ming, new.shiyou, new.duanyu, new.fankui);
END;
CREATE TRIGGER gua_table_fts_delete AFTER DELETE ON gua_table BEGIN
  INSERT INTO gua_fts(gua_fts, rowid, gua_ming, shiyou, duanyu, fankui)
    VALUES ('delete', old.id, old.gua_ming, old.shiyou, old.duanyu, old.fankui);
END;
CREATE TRIGGER gua_table_fts_update AFTER UPDATE OF gua_ming, shiyou, duanyu, fankui ON gua_table BEGIN
  INSERT INTO gua_fts(gua_fts, rowid, gua_ming, shiyou, duanyu, fankui)
    VALUES ('delete', old.id, old.gua_ming, old.shiyou, old.duanyu, old.fankui);
  INSERT INTO gua_fts(rowid, gua_ming, shiyou, duanyu, fankui)
    VALUES (new.id, new.gua_ming, new.shiyou, new.duanyu, new.fankui);
END;

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
