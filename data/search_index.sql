-- The keyword search index over gua_table (see schema.sql). Run when a database is made, and by
-- the migration that adds it to a file made before it existed.

-- Keyword search: an index of every character and every pair of neighbouring characters of the
-- four searched texts (the char_grams tokenizer, registered by the program on each connection),
-- kept in step by triggers. It answers keywords of any length. Writing gua_table needs the
-- tokenizer: another SQLite program can read the file but not change its cases.
CREATE VIRTUAL TABLE gua_fts USING fts5(gua_ming, shiyou, duanyu, fankui,
  content='gua_table', content_rowid='id', tokenize='char_grams', columnsize=0);
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
