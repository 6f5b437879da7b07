-- The keyword search index over gua_table (see schema.sql). Run when a database is made, and by
-- the migration that adds it to a file made before it existed.

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
