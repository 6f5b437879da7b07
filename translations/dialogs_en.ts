<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>casting::CastSession</name>
    <message>
        <source>正在取初爻，请耐心等待……</source>
        <translation>Drawing the first line, please wait…</translation>
    </message>
    <message>
        <source>正在取二爻，请耐心等待……</source>
        <translation>Drawing the second line, please wait…</translation>
    </message>
    <message>
        <source>正在取三爻，请耐心等待……</source>
        <translation>Drawing the third line, please wait…</translation>
    </message>
    <message>
        <source>正在取四爻，请耐心等待……</source>
        <translation>Drawing the fourth line, please wait…</translation>
    </message>
    <message>
        <source>正在取五爻，请耐心等待……</source>
        <translation>Drawing the fifth line, please wait…</translation>
    </message>
    <message>
        <source>正在取上爻，请耐心等待……</source>
        <translation>Drawing the top line, please wait…</translation>
    </message>
    <message>
        <source>生成随机日期，请耐心等待……</source>
        <translation>Drawing a random date, please wait…</translation>
    </message>
    <message>
        <source>加时辰数只用于两个数；三个数时由第三个数定动爻。</source>
        <translation>The hour number is added only to two numbers; with three, the third sets the moving line.</translation>
    </message>
    <message>
        <source>请全部爻选择完毕。</source>
        <translation>Please set all six lines first.</translation>
    </message>
    <message>
        <source>您的电脑不支持硬件真随机数，也无法通过网络获取随机数，cpu真随机数需要2012年产的22纳米的ivy架构的intel cpu才支持。如果网络通畅，可重启程序试试。</source>
        <translation>This computer has no hardware random numbers and none could be fetched over the network (hardware random numbers need an Intel CPU of the 22 nm Ivy Bridge generation, 2012, or later). If the network works, try restarting the program.</translation>
    </message>
    <message>
        <source>电脑伪随机数可用。</source>
        <translation>Computer pseudo-random numbers in use.</translation>
    </message>
    <message>
        <source>请输入卦例id或者卦名，卦例ID是一个14位长的数字串。</source>
        <translation>Enter a case number or a hexagram name; a case number is a string of 14 digits.</translation>
    </message>
</context>
<context>
    <name>casting::LineValues</name>
    <message>
        <source>有字的一面为阴，花（背面）的一面为阳。一花两字为阳（一），一字两花为阴（--）。三个花为老阳（○），</source>
        <translation>The side with characters is yin, the flower side (the back) is yang. One flower and two characters make yang (—), one character and two flowers make yin (--). Three flowers make old yang (○),</translation>
    </message>
    <message>
        <source>三个字为老阴（X）</source>
        <translation>three characters make old yin (X).</translation>
    </message>
    <message>
        <source>起卦方法：可根据摇出的硬币手工点击每个爻来完成起卦，或者根据输入的卦名起卦，或者电脑起卦。</source>
        <translation>How to cast: click each line to match the coins you threw, cast by a hexagram name you enter, or let the computer cast.</translation>
    </message>
</context>
<context>
    <name>casting::ManualCast</name>
    <message>
        <source>第一次摇得</source>
        <translation>Throw 1</translation>
    </message>
    <message>
        <source>第二次摇得</source>
        <translation>Throw 2</translation>
    </message>
    <message>
        <source>第三次摇得</source>
        <translation>Throw 3</translation>
    </message>
    <message>
        <source>第四次摇得</source>
        <translation>Throw 4</translation>
    </message>
    <message>
        <source>第五次摇得</source>
        <translation>Throw 5</translation>
    </message>
    <message>
        <source>第六次摇得</source>
        <translation>Throw 6</translation>
    </message>
    <message>
        <source>“%1”位置请用鼠标点击来更改爻值。</source>
        <translation>Click the place “%1” to set that line&apos;s value.</translation>
    </message>
</context>
<context>
    <name>casting::PlumCast</name>
    <message>
        <source>数字起卦要两个或三个数（上卦、下卦，可加第三个数定动爻），现有 %1 个</source>
        <translation>Casting by numbers takes two or three numbers (upper trigram, lower trigram, and optionally a third for the moving line); %1 given</translation>
    </message>
    <message>
        <source>“%1”不是非负整数：数字起卦只接受 0-9 组成的数</source>
        <translation>“%1” is not a non-negative whole number: casting by numbers takes only the digits 0-9</translation>
    </message>
</context>
<context>
    <name>casting::RandomSource</name>
    <message>
        <source>CPU硬件真随机数可用</source>
        <translation>CPU hardware random numbers available</translation>
    </message>
    <message>
        <source>电脑伪随机数可用</source>
        <translation>Computer pseudo-random numbers available</translation>
    </message>
    <message>
        <source>电脑起卦不可用</source>
        <translation>Computer casting unavailable</translation>
    </message>
</context>
<context>
    <name>ui::CalendarViewer</name>
    <message>
        <source>天干地支查看</source>
        <translation>Stems and Branches Calendar</translation>
    </message>
    <message>
        <source>公历</source>
        <translation>Gregorian</translation>
    </message>
    <message>
        <source>请先选择年来查看月，再选择月来查看日</source>
        <translation>Choose a year for its months, then a month for its days</translation>
    </message>
    <message>
        <source>使用此日期</source>
        <translation>Use date</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>年</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>当前选择的公历为：%1年%2月%3日</source>
        <translation>Selected: %1-%2-%3 (Gregorian)</translation>
    </message>
</context>
<context>
    <name>ui::CaseBrowser</name>
    <message>
        <source>读取</source>
        <translation>Open Case</translation>
    </message>
    <message>
        <source>数据来源</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>网络云存储</source>
        <translation>Cloud</translation>
    </message>
    <message>
        <source>本机数据</source>
        <translation>Local</translation>
    </message>
    <message>
        <source>查看方式</source>
        <translation>List by</translation>
    </message>
    <message>
        <source>按分类查看</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>按时间查看</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>关键字：</source>
        <translation>Keyword:</translation>
    </message>
    <message>
        <source>搜索最多显示100个卦，如结果过多请更改关键字</source>
        <translation>A search shows at most 100 cases; use a narrower keyword if there are too many</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>读取此卦</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>更改分类名称</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>在输入框内输入新名称，然后点此按钮更改类别名称</source>
        <translation>Type the new name in the box, then click here to rename the selected category</translation>
    </message>
    <message>
        <source>删除此卦</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>删除选中的本机卦例（Delete 键）</source>
        <translation>Delete the selected local case (Delete key)</translation>
    </message>
    <message>
        <source>选中的卦例要移到的分类</source>
        <translation>The category to move the selected case to</translation>
    </message>
    <message>
        <source>移到此类</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>把选中的本机卦例移到上面选的分类</source>
        <translation>Move the selected local case to the category chosen above</translation>
    </message>
    <message>
        <source>添加分类</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>以输入框内的名称添加一个新分类</source>
        <translation>Add a new category named as typed in the box</translation>
    </message>
    <message>
        <source>删除分类</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>删除选中的分类，其中的卦例移到“杂类”</source>
        <translation>Delete the selected category; its cases move to “杂类”</translation>
    </message>
    <message>
        <source>保存验证</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存选中的本机卦例的验证结果和日期</source>
        <translation>Save the outcome and dates of the selected local case</translation>
    </message>
    <message>
        <source>验证统计</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>应验率、应期误差和久未验证的卦例</source>
        <translation>Fulfilment rate, timing error and cases long without an outcome</translation>
    </message>
    <message>
        <source>分类</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>年</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>卦例</source>
        <translation>Cases</translation>
    </message>
    <message>
        <source>断语和反馈</source>
        <translation>Judgment and feedback</translation>
    </message>
    <message>
        <source>关键字</source>
        <translation>Keyword</translation>
    </message>
    <message>
        <source>新类别名称</source>
        <translation>New category name</translation>
    </message>
    <message>
        <source>已选%1</source>
        <translation>Selected %1</translation>
    </message>
    <message>
        <source>***反馈***</source>
        <translation>***Feedback***</translation>
    </message>
    <message>
        <source>无法获取id%1</source>
        <translation>Cannot read the id of %1</translation>
    </message>
    <message>
        <source>请输入关键字。</source>
        <translation>Please enter a keyword.</translation>
    </message>
    <message>
        <source>请先选择一个要更改的原类别。</source>
        <translation>Please select the category to rename first.</translation>
    </message>
    <message>
        <source>请输入新类别名称</source>
        <translation>Please enter the new category name.</translation>
    </message>
    <message>
        <source>类别名称最长%1个字。</source>
        <translation>A category name has at most %1 characters.</translation>
    </message>
    <message>
        <source>新类别名称不能和现已存在名称相同。</source>
        <translation>The new name must differ from the names of the existing categories.</translation>
    </message>
    <message>
        <source>这里只能删除或移动本机数据中的卦例，请先选择“本机数据”。</source>
        <translation>Only local cases can be deleted or moved here; choose “Local” first.</translation>
    </message>
    <message>
        <source>请先选择一个卦例。</source>
        <translation>Please select a case first.</translation>
    </message>
    <message>
        <source>请先在本机数据中选择一个要删除的类别。</source>
        <translation>Please select a local category to delete first.</translation>
    </message>
    <message>
        <source>是否将已选%1 更改为%2</source>
        <translation>Rename category %1 to %2?</translation>
    </message>
</context>
<context>
    <name>ui::CastDialog</name>
    <message>
        <source>分类：</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>分类</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>性别：</source>
        <translation>Sex:</translation>
    </message>
    <message>
        <source>性别</source>
        <translation>Sex</translation>
    </message>
    <message>
        <source>出生年：</source>
        <translation>Born:</translation>
    </message>
    <message>
        <source>出生年</source>
        <translation>Birth year</translation>
    </message>
    <message>
        <source>占类：</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>占类</source>
        <translation>Question type</translation>
    </message>
    <message>
        <source>起卦</source>
        <translation>Cast</translation>
    </message>
    <message>
        <source>常用功能</source>
        <translation>Basic</translation>
    </message>
    <message>
        <source>高级功能</source>
        <translation>Advanced</translation>
    </message>
    <message>
        <source>数字/时间</source>
        <translation>Numbers/Time</translation>
    </message>
    <message>
        <source>起卦方式</source>
        <translation>Ways to cast</translation>
    </message>
    <message>
        <source>占事</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>起卦日期</source>
        <translation>Cast date</translation>
    </message>
    <message>
        <source>起卦时间</source>
        <translation>Cast time</translation>
    </message>
    <message>
        <source>卦例ID或者卦名</source>
        <translation>Case ID or hexagram name</translation>
    </message>
    <message>
        <source>占事：</source>
        <translation>Question:</translation>
    </message>
    <message>
        <source>起卦时间日期：</source>
        <translation>Cast at:</translation>
    </message>
    <message>
        <source>手工起卦选项，点击鼠标更改</source>
        <translation>Manual throws (click to change)</translation>
    </message>
    <message>
        <source>点击鼠标后分别会在少阳少阴老阳老阴之间变动</source>
        <translation>Each click steps through young yang, young yin, old yang and old yin</translation>
    </message>
    <message>
        <source>第%1次摇得</source>
        <translation>Throw %1</translation>
    </message>
    <message>
        <source>手工起卦</source>
        <translation>Manual cast</translation>
    </message>
    <message>
        <source>电脑自动起卦</source>
        <translation>Computer cast</translation>
    </message>
    <message>
        <source>利用cpu真随机数或者伪随机数自动起卦</source>
        <translation>Cast with the CPU&apos;s true random numbers or with pseudo-random numbers</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>卦例ID或者卦名：</source>
        <translation>Case ID or name:</translation>
    </message>
    <message>
        <source>根据卦名排盘</source>
        <translation>Chart by name</translation>
    </message>
    <message>
        <source>根据输入的卦名称来排盘</source>
        <translation>Chart the hexagram named in the box</translation>
    </message>
    <message>
        <source>匹配干支</source>
        <translation>Match pillars</translation>
    </message>
    <message>
        <source>按月日匹配干支，不论年，如果有年，请点击“查看干支纪年”手工匹配</source>
        <translation>Matches the month and day pillars whatever the year; to match a year as well, look it up in “Calendar”</translation>
    </message>
    <message>
        <source>查看干支纪年</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>查看选定年月日的天干地支</source>
        <translation>Show the stems and branches of a chosen date</translation>
    </message>
    <message>
        <source>初爻：</source>
        <translation>Line 1:</translation>
    </message>
    <message>
        <source>二爻：</source>
        <translation>Line 2:</translation>
    </message>
    <message>
        <source>三爻：</source>
        <translation>Line 3:</translation>
    </message>
    <message>
        <source>四爻：</source>
        <translation>Line 4:</translation>
    </message>
    <message>
        <source>五爻：</source>
        <translation>Line 5:</translation>
    </message>
    <message>
        <source>上爻：</source>
        <translation>Line 6:</translation>
    </message>
    <message>
        <source>点击右边按钮选择</source>
        <translation>Set the line with the coins on the right</translation>
    </message>
    <message>
        <source>鼠标点此更改阴阳</source>
        <translation>Click to switch yin and yang</translation>
    </message>
    <message>
        <source>硬币%1</source>
        <translation>Coin %1</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>完成手工起卦</source>
        <translation>Finish cast</translation>
    </message>
    <message>
        <source>下一爻</source>
        <translation>Next line</translation>
    </message>
    <message>
        <source>显示硬币图案</source>
        <translation>Show coin faces</translation>
    </message>
    <message>
        <source>手工起卦说明</source>
        <translation>Manual casting rules</translation>
    </message>
    <message>
        <source>支持12年产的ivy架构cpu真随机数和网络随机数，以cpu随机数为佳，速度快。</source>
        <translation>Takes true random numbers from CPUs of the Ivy Bridge generation (2012) on, or from the network; the CPU&apos;s are best and fast.</translation>
    </message>
    <message>
        <source>使用随机日期</source>
        <translation>Use a random date</translation>
    </message>
    <message>
        <source>勾选此项，起卦时将使用一个随机的日期作为起卦日期</source>
        <translation>When checked, a cast takes a random date as its cast date</translation>
    </message>
    <message>
        <source>排卦方式</source>
        <translation>Chart method</translation>
    </message>
    <message>
        <source>随机</source>
        <translation>Random</translation>
    </message>
    <message>
        <source>京房式</source>
        <translation>Jingfang</translation>
    </message>
    <message>
        <source>藏山卜</source>
        <translation>Zangshan</translation>
    </message>
    <message>
        <source>仅排盘，不保存</source>
        <translation>Chart only, don&apos;t save</translation>
    </message>
    <message>
        <source>本次仅排盘不自动保存卦例，适合研究分析现有卦使用。</source>
        <translation>Charts this cast without saving it as a case; for studying existing hexagrams.</translation>
    </message>
    <message>
        <source>读取卦例</source>
        <translation>Open case</translation>
    </message>
    <message>
        <source>读取以前保存的卦</source>
        <translation>Open a case saved earlier</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>如需输入卦例ID，可先关闭此窗口，然后在主界面内输入后敲回车。</source>
        <translation>To enter a case ID, close this window, type the ID in the main window and press Enter.</translation>
    </message>
    <message>
        <source>起卦地点（本卦）</source>
        <translation>Place of this cast</translation>
    </message>
    <message>
        <source>梅花起卦</source>
        <translation>Plum blossom</translation>
    </message>
    <message>
        <source>时间起卦</source>
        <translation>Cast by time</translation>
    </message>
    <message>
        <source>年支数+农历月+农历日为上卦，再加时支数为下卦，总数除六取动爻</source>
        <translation>Year branch number + lunar month + lunar day gives the upper trigram; adding the hour branch number gives the lower; the total divided by six gives the moving line</translation>
    </message>
    <message>
        <source>两个或三个数，以空格分开</source>
        <translation>Two or three numbers, separated by spaces</translation>
    </message>
    <message>
        <source>报数</source>
        <translation>Numbers</translation>
    </message>
    <message>
        <source>第一数为上卦，第二数为下卦；两数之和（或加时辰数）定动爻，第三数另定动爻</source>
        <translation>The first number gives the upper trigram, the second the lower; their sum (plus the hour number) gives the moving line, unless a third number gives it</translation>
    </message>
    <message>
        <source>加时辰数</source>
        <translation>Add hour number</translation>
    </message>
    <message>
        <source>数字起卦</source>
        <translation>Cast by numbers</translation>
    </message>
    <message>
        <source>报数：</source>
        <translation>Numbers:</translation>
    </message>
    <message>
        <source>蓍草</source>
        <translation>Yarrow</translation>
    </message>
    <message>
        <source>蓍草起卦</source>
        <translation>Yarrow cast</translation>
    </message>
    <message>
        <source>用电脑起卦的随机数，按蓍草的概率取六爻</source>
        <translation>Takes the six lines with the odds of the yarrow stalks, from the random numbers of the computer cast</translation>
    </message>
    <message>
        <source>老阳 3/16，少阴 7/16，少阳 5/16，老阴 1/16</source>
        <translation>Old yang 3/16, young yin 7/16, young yang 5/16, old yin 1/16</translation>
    </message>
    <message>
        <source>请输入干支月和日</source>
        <translation>Enter the month and day pillars</translation>
    </message>
    <message>
        <source>请输入</source>
        <translation>Pillars:</translation>
    </message>
</context>
<context>
    <name>ui::LoginWindow</name>
    <message>
        <source>（已记住密码）</source>
        <translation>(password remembered)</translation>
    </message>
    <message>
        <source>登陆网络</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>用户名：</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>密码：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>记住用户名和密码</source>
        <translation>Remember me</translation>
    </message>
    <message>
        <source>不使用网络</source>
        <translation>Work offline</translation>
    </message>
    <message>
        <source>注册新用户</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>忘记密码，找回密码</source>
        <translation>Forgot your password?</translation>
    </message>
    <message>
        <source>正在下载，请等待几分钟</source>
        <translation>Downloading, please wait…</translation>
    </message>
    <message>
        <source>重复密码：</source>
        <translation>Confirm:</translation>
    </message>
    <message>
        <source>手机号：</source>
        <translation>Mobile:</translation>
    </message>
    <message>
        <source>邮箱：</source>
        <translation>Email:</translation>
    </message>
    <message>
        <source>立即注册</source>
        <translation>Register now</translation>
    </message>
    <message>
        <source>有新版本 %1。本程序由系统的软件包管理器安装，请用它升级（例如 sudo apt upgrade）。</source>
        <translation>Version %1 is out. This program was installed by the system&apos;s package manager; upgrade it there (e.g. sudo apt upgrade).</translation>
    </message>
    <message>
        <source>有新版本，是否升级？</source>
        <translation>A new version is out. Upgrade now?</translation>
    </message>
</context>
<context>
    <name>ui::PasswordWindow</name>
    <message>
        <source>密码修改</source>
        <translation>Change Password</translation>
    </message>
    <message>
        <source>原密码：</source>
        <translation>Old password:</translation>
    </message>
    <message>
        <source>新密码：</source>
        <translation>New password:</translation>
    </message>
    <message>
        <source>确认新密码：</source>
        <translation>Confirm:</translation>
    </message>
    <message>
        <source>确定修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>已记住登录的设备：</source>
        <translation>Devices that stay logged in:</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>添加时间</source>
        <translation>Added</translation>
    </message>
    <message>
        <source>最近使用</source>
        <translation>Last used</translation>
    </message>
    <message>
        <source>已记住登录的设备</source>
        <translation>Devices that stay logged in</translation>
    </message>
    <message>
        <source>移除所选设备</source>
        <translation>Remove device</translation>
    </message>
</context>
<context>
    <name>ui::RecordWindow</name>
    <message>
        <source>实应 − 应期（天）：卦例数</source>
        <translation>Actual − predicted (days): cases</translation>
    </message>
    <message>
        <source>总数</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>已验</source>
        <translation>Decided</translation>
    </message>
    <message>
        <source>应验</source>
        <translation>Fulfilled</translation>
    </message>
    <message>
        <source>部分应验</source>
        <translation>Partly</translation>
    </message>
    <message>
        <source>未应验</source>
        <translation>Unfulfilled</translation>
    </message>
    <message>
        <source>待验</source>
        <translation>Pending</translation>
    </message>
    <message>
        <source>应验率</source>
        <translation>Rate</translation>
    </message>
    <message>
        <source>占类</source>
        <translation>Question type</translation>
    </message>
    <message>
        <source>分类</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>年份</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>用神</source>
        <translation>Use God</translation>
    </message>
    <message>
        <source>排卦方式</source>
        <translation>Chart method</translation>
    </message>
    <message>
        <source>动爻数</source>
        <translation>Moving lines</translation>
    </message>
    <message>
        <source>未分类</source>
        <translation>Uncategorized</translation>
    </message>
    <message>
        <source>未选占类</source>
        <translation>No question type</translation>
    </message>
    <message>
        <source>无日期</source>
        <translation>No date</translation>
    </message>
    <message>
        <source>未定</source>
        <translation>Undecided</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>京房式</source>
        <translation>Jingfang</translation>
    </message>
    <message>
        <source>藏山卜</source>
        <translation>Zangshan</translation>
    </message>
    <message>
        <source>世</source>
        <comment>use god</comment>
        <translation>Self</translation>
    </message>
    <message>
        <source>应</source>
        <comment>use god</comment>
        <translation>Other</translation>
    </message>
    <message>
        <source>父母</source>
        <comment>use god</comment>
        <translation>Parents</translation>
    </message>
    <message>
        <source>兄弟</source>
        <comment>use god</comment>
        <translation>Siblings</translation>
    </message>
    <message>
        <source>子孙</source>
        <comment>use god</comment>
        <translation>Offspring</translation>
    </message>
    <message>
        <source>妻财</source>
        <comment>use god</comment>
        <translation>Wealth</translation>
    </message>
    <message>
        <source>官鬼</source>
        <comment>use god</comment>
        <translation>Officer</translation>
    </message>
    <message>
        <source>验证统计</source>
        <translation>Outcome Record</translation>
    </message>
    <message>
        <source>分类(&amp;C)：</source>
        <translation>&amp;Category:</translation>
    </message>
    <message>
        <source>起卦日期(&amp;D)</source>
        <translation>Cast &amp;date</translation>
    </message>
    <message>
        <source>导出图片(&amp;P)…</source>
        <translation>Export &amp;picture…</translation>
    </message>
    <message>
        <source>导出CSV(&amp;V)…</source>
        <translation>Export CS&amp;V…</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>导出验证统计图片</source>
        <translation>Export the record as a picture</translation>
    </message>
    <message>
        <source>验证统计.png</source>
        <translation>outcome-record.png</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <source>导出验证统计 CSV</source>
        <translation>Export the record as CSV</translation>
    </message>
    <message>
        <source>验证统计.csv</source>
        <translation>outcome-record.csv</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <source>全部分类</source>
        <translation>All categories</translation>
    </message>
    <message>
        <source>按季度</source>
        <translation>By quarter</translation>
    </message>
    <message>
        <source>季度</source>
        <translation>Quarter</translation>
    </message>
    <message>
        <source>实应 − 应期（天）</source>
        <translation>Actual − predicted (days)</translation>
    </message>
    <message>
        <source>卦例数</source>
        <translation>Cases</translation>
    </message>
    <message>
        <source>应期误差（中位数 %1 天）</source>
        <translation>Timing error (median %1 days)</translation>
    </message>
    <message>
        <source>起卦逾 %1 天仍待验（%2 例，双击打开）</source>
        <translation>Still pending %1 days after the cast (%2 cases; double-click to open)</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>起卦日期</source>
        <translation>Cast date</translation>
    </message>
    <message>
        <source>卦号</source>
        <translation>Case number</translation>
    </message>
    <message>
        <source>占事</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>共 %1 例，已验 %2 例：应验 %3，部分应验 %4，未应验 %5；待验 %6。应验率 %7（应验计 1，部分应验计 ½，除以已验）。应期误差：%8 例，中位数 %9 天。</source>
        <translation>%1 cases, %2 decided: %3 fulfilled, %4 partly fulfilled, %5 unfulfilled; %6 pending. Fulfilment rate %7 (fulfilled counts 1, partly fulfilled ½, over the decided). Timing error: %8 cases, median %9 days.</translation>
    </message>
    <message>
        <source>按占类</source>
        <translation>By question type</translation>
    </message>
    <message>
        <source>按分类</source>
        <translation>By category</translation>
    </message>
    <message>
        <source>按年份</source>
        <translation>By year</translation>
    </message>
    <message>
        <source>按用神</source>
        <translation>By Use God</translation>
    </message>
    <message>
        <source>按排卦方式</source>
        <translation>By chart method</translation>
    </message>
    <message>
        <source>按动爻数</source>
        <translation>By number of moving lines</translation>
    </message>
</context>
</TS>
