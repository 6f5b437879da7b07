-- The keyword search index over gua_table (see schema.sql). Run when a database is made, and by
-- the migration that adds it to a file made before it existed.

-- Keyword search: the four searched texts joined by line breaks into one, indexed by the
-- char_grams tokenizer (registered by the program on each connection): gua_fts_short holds every
-- character and pair of characters (keywords of one or two characters), gua_fts every three
-- neighbouring characters with their positions (longer keywords). Kept in step by triggers.
-- The search tests each case found against the texts themselves, so a keyword that would reach
-- across two texts finds nothing there. Writing gua_table needs the tokenizer: another SQLite
-- program can read the file but not change its cases.
CREATE VIEW gua_fts_texts AS SELECT id,
  coalesce(gua_ming, '') || char(10) || coalesce(shiyou, '') || char(10) ||
  coalesce(duanyu, '') || char(10) || coalesce(fankui, '') AS texts FROM gua_table;
CREATE VIRTUAL TABLE gua_fts USING fts5(texts, content='', tokenize='char_grams triples', columnsize=0);
CREATE VIRTUAL TABLE gua_fts_short USING fts5(texts, content='', tokenize='char_grams short', columnsize=0,
  detail=none);
CREATE TRIGGER gua_table_fts_insert AFTER INSERT ON gua_table BEGIN
  INSERT INTO gua_fts(rowid, texts) SELECT id, texts FROM gua_fts_texts WHERE id = new.id;
  INSERT INTO gua_fts_short(rowid, texts) SELECT id, texts FROM gua_fts_texts WHERE id = new.id;
END;
CREATE TRIGGER gua_table_fts_delete BEFORE DELETE ON gua_table BEGIN
  INSERT INTO gua_fts(gua_fts, rowid, texts) SELECT 'delete', id, texts FROM gua_fts_texts WHERE id = old.id;
  INSERT INTO gua_fts_short(gua_fts_short, rowid, texts)
    SELECT 'delete', id, texts FROM gua_fts_texts WHERE id = old.id;
END;
CREATE TRIGGER gua_table_fts_unindex BEFORE UPDATE OF gua_ming, shiyou, duanyu, fankui ON gua_table BEGIN
  INSERT INTO gua_fts(gua_fts, rowid, texts) SELECT 'delete', id, texts FROM gua_fts_texts WHERE id = old.id;
  INSERT INTO gua_fts_short(gua_fts_short, rowid, texts)
    SELECT 'delete', id, texts FROM gua_fts_texts WHERE id = old.id;
END;
CREATE TRIGGER gua_table_fts_update AFTER UPDATE OF gua_ming, shiyou, duanyu, fankui ON gua_table BEGIN
  INSERT INTO gua_fts(rowid, texts) SELECT id, texts FROM gua_fts_texts WHERE id = new.id;
  INSERT INTO gua_fts_short(rowid, texts) SELECT id, texts FROM gua_fts_texts WHERE id = new.id;
END;
