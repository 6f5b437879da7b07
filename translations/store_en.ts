<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>record::PracticeRecord</name>
    <message>
        <source>没有名为“%1”的类别</source>
        <translation>No category named “%1”</translation>
    </message>
</context>
<context>
    <name>store::AutomaticBackup</name>
    <message>
        <source>无法建立自动备份文件夹 %1</source>
        <translation>Cannot create the automatic backup folder %1</translation>
    </message>
    <message>
        <source>无法重新读取要导入的卦例</source>
        <translation>Cannot read the cases to import again</translation>
    </message>
</context>
<context>
    <name>store::BackupNotes</name>
    <message>
        <source>无法读取笔记文件 %1：%2</source>
        <translation>Cannot read the note file %1: %2</translation>
    </message>
    <message>
        <source>无法写入笔记文件 %1：%2</source>
        <translation>Cannot write the note file %1: %2</translation>
    </message>
    <message>
        <source>无法建立文件夹 %1</source>
        <translation>Cannot create the folder %1</translation>
    </message>
    <message>
        <source>备份里的笔记文件名不合规：%1</source>
        <translation>Invalid note file name in the backup: %1</translation>
    </message>
</context>
<context>
    <name>store::CaseCategories</name>
    <message>
        <source>请输入新类别名称</source>
        <translation>Please enter a name for the new category</translation>
    </message>
    <message>
        <source>类别名称最多%1个字。</source>
        <translation>A category name has at most %1 characters.</translation>
    </message>
    <message>
        <source>新类别名称不能和现已存在名称相同。</source>
        <translation>The new category name must differ from the existing ones.</translation>
    </message>
    <message>
        <source>没有这个类别。</source>
        <translation>No such category.</translation>
    </message>
    <message>
        <source>“%1”不能删除。</source>
        <translation>“%1” cannot be deleted.</translation>
    </message>
    <message>
        <source>类别“%1”中还有%2个卦例，不能删除。</source>
        <translation>Category “%1” still holds %2 cases and cannot be deleted.</translation>
    </message>
    <message>
        <source>没有“%1”，无法移入卦例。</source>
        <translation>There is no “%1” to move the cases into.</translation>
    </message>
</context>
<context>
    <name>store::CaseStore</name>
    <message>
        <source>断语</source>
        <translation>The judgment</translation>
    </message>
    <message>
        <source>反馈</source>
        <translation>The feedback</translation>
    </message>
    <message>
        <source>卦的唯一编号为空，无法保存。</source>
        <translation>The case number is empty; cannot save.</translation>
    </message>
    <message>
        <source>%1，没有保存。</source>
        <translation>%1; not saved.</translation>
    </message>
    <message>
        <source>没有这个类别。</source>
        <translation>No such category.</translation>
    </message>
    <message>
        <source>没有这个卦例。</source>
        <translation>No such case.</translation>
    </message>
</context>
<context>
    <name>store::CaseTextLimit</name>
    <message>
        <source>%1太长：%2 字节，一段文字最多 %3 字节（%4 KiB，约 %5 个汉字）</source>
        <translation>%1 is too long: %2 bytes; a text holds at most %3 bytes (%4 KiB, about %5 Chinese characters)</translation>
    </message>
</context>
<context>
    <name>store::CaseTransfer</name>
    <message>
        <source>无法写出导出文件：%1</source>
        <translation>Cannot write the export file: %1</translation>
    </message>
    <message>
        <source>在第一个案例之前</source>
        <translation>before the first case</translation>
    </message>
    <message>
        <source>在 id %1 的案例之后</source>
        <translation>after the case with id %1</translation>
    </message>
    <message>
        <source>%1；读到第 %2 个案例时停止（%3），其后的案例没有导出</source>
        <translation>%1; stopped when reading case %2 (%3); the cases after it were not exported</translation>
    </message>
    <message>
        <source>没有名为“%1”的类别</source>
        <translation>No category named “%1”</translation>
    </message>
</context>
<context>
    <name>store::Database</name>
    <message>
        <source>程序内缺少数据文件 %1</source>
        <translation>The program lacks its data file %1</translation>
    </message>
    <message>
        <source>文件 %1 不是可用的数据库（%2）；它没有被改动。</source>
        <translation>The file %1 is not a usable database (%2); it was left unchanged.</translation>
    </message>
    <message>
        <source>数据库文件 %1 由更新版本的青岚建立（格式版本 %2，本程序只认识到 %3），请用新版本打开；它没有被改动。</source>
        <translation>The database file %1 was made by a newer version of Qinglan (format version %2; this program knows up to %3). Please open it with the newer version; it was left unchanged.</translation>
    </message>
    <message>
        <source>内存中的数据库不能重新打开</source>
        <translation>A database in memory cannot be reopened</translation>
    </message>
    <message>
        <source>无法打开数据库文件 %1：%2</source>
        <translation>Cannot open the database file %1: %2</translation>
    </message>
    <message>
        <source>无法创建数据文件夹 %1</source>
        <translation>Cannot create the data folder %1</translation>
    </message>
    <message>
        <source>数据库文件 %1 正在被恢复，请稍后再试</source>
        <translation>The database file %1 is being restored; please try again later</translation>
    </message>
    <message>
        <source>无法创建数据库文件 %1：%2</source>
        <translation>Cannot create the database file %1: %2</translation>
    </message>
    <message>
        <source>数据库文件 %1 不存在</source>
        <translation>The database file %1 does not exist</translation>
    </message>
    <message>
        <source>无法读取数据库文件 %1：%2</source>
        <translation>Cannot read the database file %1: %2</translation>
    </message>
    <message>
        <source>空文件</source>
        <translation>empty file</translation>
    </message>
    <message>
        <source>不是 SQLite 数据库</source>
        <translation>not an SQLite database</translation>
    </message>
    <message>
        <source>别的程序的数据库</source>
        <translation>another program&apos;s database</translation>
    </message>
    <message>
        <source>没有任何表，可能是一次中断的首次启动留下的</source>
        <translation>no tables at all; perhaps left by an interrupted first start</translation>
    </message>
    <message>
        <source>缺少表 %1</source>
        <translation>table %1 is missing</translation>
    </message>
    <message>
        <source>数据库文件 %1 被另一个程序锁定，等了 %2 秒仍未释放（%3）</source>
        <translation>The database file %1 is locked by another program and was not released after %2 seconds (%3)</translation>
    </message>
    <message>
        <source>数据库文件 %1 是只读的，无法写入（%2）</source>
        <translation>The database file %1 is read-only and cannot be written (%2)</translation>
    </message>
    <message>
        <source>磁盘已满，数据库文件 %1 无法写入（%2）</source>
        <translation>The disk is full; the database file %1 cannot be written (%2)</translation>
    </message>
    <message>
        <source>数据库文件 %1 已损坏（%2）</source>
        <translation>The database file %1 is damaged (%2)</translation>
    </message>
</context>
<context>
    <name>store::DatabaseBackup</name>
    <message>
        <source>没有给出备份文件名</source>
        <translation>No backup file name given</translation>
    </message>
    <message>
        <source>%1 是一个文件夹，请给出备份文件名</source>
        <translation>%1 is a folder; please give a backup file name</translation>
    </message>
    <message>
        <source>备份文件不能是数据库文件本身：%1</source>
        <translation>The backup file cannot be the database file itself: %1</translation>
    </message>
    <message>
        <source>备份到 %1 失败：%2</source>
        <translation>Backup to %1 failed: %2</translation>
    </message>
    <message>
        <source>文件 %1 已损坏，不能用来恢复：%2</source>
        <translation>The file %1 is damaged and cannot be used to restore: %2</translation>
    </message>
    <message>
        <source>不能用数据库文件本身来恢复：%1</source>
        <translation>Cannot restore from the database file itself: %1</translation>
    </message>
    <message>
        <source>无法把 %1 复制到 %2</source>
        <translation>Cannot copy %1 to %2</translation>
    </message>
    <message>
        <source>恢复失败：%1</source>
        <translation>Restore failed: %1</translation>
    </message>
    <message>
        <source>数据库文件 %1 正被另一个青岚程序使用，请先关闭它再恢复</source>
        <translation>The database file %1 is in use by another Qinglan program; please close it before restoring</translation>
    </message>
    <message>
        <source>数据库文件 %1 正被另一个程序写入，请关闭它后再恢复</source>
        <translation>The database file %1 is being written by another program; please close it before restoring</translation>
    </message>
    <message>
        <source>数据库已恢复，但笔记文件夹没能放回原处，恢复的笔记在 %1：%2</source>
        <translation>The database was restored, but the notes folder could not be put back; the restored notes are in %1: %2</translation>
    </message>
</context>
<context>
    <name>store::DatabaseFile</name>
    <message>
        <source>无法把 %1 移到 %2：%3</source>
        <translation>Cannot move %1 to %2: %3</translation>
    </message>
    <message>
        <source>无法交换 %1 和 %2：%3</source>
        <translation>Cannot swap %1 and %2: %3</translation>
    </message>
    <message>
        <source>无法把 %1 复制为 %2</source>
        <translation>Cannot copy %1 as %2</translation>
    </message>
    <message>
        <source>无法把 %1 写到磁盘：%2</source>
        <translation>Cannot write %1 to disk: %2</translation>
    </message>
</context>
</TS>
