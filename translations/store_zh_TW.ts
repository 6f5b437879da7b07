<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>record::PracticeRecord</name>
    <message>
        <source>没有名为“%1”的类别</source>
        <translation>沒有名為「%1」的類別</translation>
    </message>
</context>
<context>
    <name>store::AutomaticBackup</name>
    <message>
        <source>无法建立自动备份文件夹 %1</source>
        <translation>無法建立自動備份資料夾 %1</translation>
    </message>
    <message>
        <source>无法重新读取要导入的卦例</source>
        <translation>無法重新讀取要匯入的卦例</translation>
    </message>
</context>
<context>
    <name>store::BackupNotes</name>
    <message>
        <source>无法读取笔记文件 %1：%2</source>
        <translation>無法讀取筆記檔案 %1：%2</translation>
    </message>
    <message>
        <source>无法写入笔记文件 %1：%2</source>
        <translation>無法寫入筆記檔案 %1：%2</translation>
    </message>
    <message>
        <source>无法建立文件夹 %1</source>
        <translation>無法建立資料夾 %1</translation>
    </message>
    <message>
        <source>备份里的笔记文件名不合规：%1</source>
        <translation>備份裡的筆記檔名不合規：%1</translation>
    </message>
</context>
<context>
    <name>store::CaseCategories</name>
    <message>
        <source>请输入新类别名称</source>
        <translation>請輸入新類別名稱</translation>
    </message>
    <message>
        <source>类别名称最多%1个字。</source>
        <translation>類別名稱最多%1個字。</translation>
    </message>
    <message>
        <source>新类别名称不能和现已存在名称相同。</source>
        <translation>新類別名稱不能和現已存在名稱相同。</translation>
    </message>
    <message>
        <source>没有这个类别。</source>
        <translation>沒有這個類別。</translation>
    </message>
    <message>
        <source>“%1”不能删除。</source>
        <translation>「%1」不能刪除。</translation>
    </message>
    <message>
        <source>类别“%1”中还有%2个卦例，不能删除。</source>
        <translation>類別「%1」中還有%2個卦例，不能刪除。</translation>
    </message>
    <message>
        <source>没有“%1”，无法移入卦例。</source>
        <translation>沒有「%1」，無法移入卦例。</translation>
    </message>
</context>
<context>
    <name>store::CaseStore</name>
    <message>
        <source>断语</source>
        <translation>斷語</translation>
    </message>
    <message>
        <source>反馈</source>
        <translation>反饋</translation>
    </message>
    <message>
        <source>卦的唯一编号为空，无法保存。</source>
        <translation>卦的唯一編號為空，無法儲存。</translation>
    </message>
    <message>
        <source>%1，没有保存。</source>
        <translation>%1，沒有儲存。</translation>
    </message>
    <message>
        <source>没有这个类别。</source>
        <translation>沒有這個類別。</translation>
    </message>
    <message>
        <source>没有这个卦例。</source>
        <translation>沒有這個卦例。</translation>
    </message>
</context>
<context>
    <name>store::CaseTextLimit</name>
    <message>
        <source>%1太长：%2 字节，一段文字最多 %3 字节（%4 KiB，约 %5 个汉字）</source>
        <translation>%1太長：%2 位元組，一段文字最多 %3 位元組（%4 KiB，約 %5 個漢字）</translation>
    </message>
</context>
<context>
    <name>store::CaseTransfer</name>
    <message>
        <source>无法写出导出文件：%1</source>
        <translation>無法寫出匯出檔案：%1</translation>
    </message>
    <message>
        <source>在第一个案例之前</source>
        <translation>在第一個案例之前</translation>
    </message>
    <message>
        <source>在 id %1 的案例之后</source>
        <translation>在 id %1 的案例之後</translation>
    </message>
    <message>
        <source>%1；读到第 %2 个案例时停止（%3），其后的案例没有导出</source>
        <translation>%1；讀到第 %2 個案例時停止（%3），其後的案例沒有匯出</translation>
    </message>
    <message>
        <source>没有名为“%1”的类别</source>
        <translation>沒有名為「%1」的類別</translation>
    </message>
</context>
<context>
    <name>store::Database</name>
    <message>
        <source>程序内缺少数据文件 %1</source>
        <translation>程式內缺少資料檔案 %1</translation>
    </message>
    <message>
        <source>文件 %1 不是可用的数据库（%2）；它没有被改动。</source>
        <translation>檔案 %1 不是可用的資料庫（%2）；它沒有被改動。</translation>
    </message>
    <message>
        <source>数据库文件 %1 由更新版本的青岚建立（格式版本 %2，本程序只认识到 %3），请用新版本打开；它没有被改动。</source>
        <translation>資料庫檔案 %1 由更新版本的青嵐建立（格式版本 %2，本程式只認識到 %3），請用新版本開啟；它沒有被改動。</translation>
    </message>
    <message>
        <source>内存中的数据库不能重新打开</source>
        <translation>記憶體中的資料庫不能重新開啟</translation>
    </message>
    <message>
        <source>无法打开数据库文件 %1：%2</source>
        <translation>無法開啟資料庫檔案 %1：%2</translation>
    </message>
    <message>
        <source>无法创建数据文件夹 %1</source>
        <translation>無法建立存放資料的資料夾 %1</translation>
    </message>
    <message>
        <source>数据库文件 %1 正在被恢复，请稍后再试</source>
        <translation>資料庫檔案 %1 正在被恢復，請稍後再試</translation>
    </message>
    <message>
        <source>无法创建数据库文件 %1：%2</source>
        <translation>無法建立資料庫檔案 %1：%2</translation>
    </message>
    <message>
        <source>数据库文件 %1 不存在</source>
        <translation>資料庫檔案 %1 不存在</translation>
    </message>
    <message>
        <source>无法读取数据库文件 %1：%2</source>
        <translation>無法讀取資料庫檔案 %1：%2</translation>
    </message>
    <message>
        <source>空文件</source>
        <translation>空檔案</translation>
    </message>
    <message>
        <source>不是 SQLite 数据库</source>
        <translation>不是 SQLite 資料庫</translation>
    </message>
    <message>
        <source>别的程序的数据库</source>
        <translation>別的程式的資料庫</translation>
    </message>
    <message>
        <source>没有任何表，可能是一次中断的首次启动留下的</source>
        <translation>沒有任何資料表，可能是一次中斷的首次啟動留下的</translation>
    </message>
    <message>
        <source>缺少表 %1</source>
        <translation>缺少資料表 %1</translation>
    </message>
    <message>
        <source>数据库文件 %1 被另一个程序锁定，等了 %2 秒仍未释放（%3）</source>
        <translation>資料庫檔案 %1 被另一個程式鎖定，等了 %2 秒仍未釋放（%3）</translation>
    </message>
    <message>
        <source>数据库文件 %1 是只读的，无法写入（%2）</source>
        <translation>資料庫檔案 %1 是唯讀的，無法寫入（%2）</translation>
    </message>
    <message>
        <source>磁盘已满，数据库文件 %1 无法写入（%2）</source>
        <translation>磁碟已滿，資料庫檔案 %1 無法寫入（%2）</translation>
    </message>
    <message>
        <source>数据库文件 %1 已损坏（%2）</source>
        <translation>資料庫檔案 %1 已損壞（%2）</translation>
    </message>
</context>
<context>
    <name>store::DatabaseBackup</name>
    <message>
        <source>没有给出备份文件名</source>
        <translation>沒有給出備份檔名</translation>
    </message>
    <message>
        <source>%1 是一个文件夹，请给出备份文件名</source>
        <translation>%1 是一個資料夾，請給出備份檔名</translation>
    </message>
    <message>
        <source>备份文件不能是数据库文件本身：%1</source>
        <translation>備份檔案不能是資料庫檔案本身：%1</translation>
    </message>
    <message>
        <source>备份到 %1 失败：%2</source>
        <translation>備份到 %1 失敗：%2</translation>
    </message>
    <message>
        <source>文件 %1 已损坏，不能用来恢复：%2</source>
        <translation>檔案 %1 已損壞，不能用來恢復：%2</translation>
    </message>
    <message>
        <source>不能用数据库文件本身来恢复：%1</source>
        <translation>不能用資料庫檔案本身來恢復：%1</translation>
    </message>
    <message>
        <source>无法把 %1 复制到 %2</source>
        <translation>無法把 %1 複製到 %2</translation>
    </message>
    <message>
        <source>恢复失败：%1</source>
        <translation>恢復失敗：%1</translation>
    </message>
    <message>
        <source>数据库文件 %1 正被另一个青岚程序使用，请先关闭它再恢复</source>
        <translation>資料庫檔案 %1 正被另一個青嵐程式使用，請先關閉它再恢復</translation>
    </message>
    <message>
        <source>数据库文件 %1 正被另一个程序写入，请关闭它后再恢复</source>
        <translation>資料庫檔案 %1 正被另一個程式寫入，請關閉它後再恢復</translation>
    </message>
    <message>
        <source>数据库已恢复，但笔记文件夹没能放回原处，恢复的笔记在 %1：%2</source>
        <translation>資料庫已恢復，但筆記資料夾沒能放回原處，恢復的筆記在 %1：%2</translation>
    </message>
</context>
<context>
    <name>store::DatabaseFile</name>
    <message>
        <source>无法把 %1 移到 %2：%3</source>
        <translation>無法把 %1 移到 %2：%3</translation>
    </message>
    <message>
        <source>无法交换 %1 和 %2：%3</source>
        <translation>無法交換 %1 和 %2：%3</translation>
    </message>
    <message>
        <source>无法把 %1 复制为 %2</source>
        <translation>無法把 %1 複製為 %2</translation>
    </message>
    <message>
        <source>无法把 %1 写到磁盘：%2</source>
        <translation>無法把 %1 寫到磁碟：%2</translation>
    </message>
</context>
</TS>
