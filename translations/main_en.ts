<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>app::Startup</name>
    <message>
        <source>青岚</source>
        <translation>Qinglan</translation>
    </message>
    <message>
        <source>数据文件夹不存在：</source>
        <translation>The data folder does not exist: </translation>
    </message>
    <message>
        <source>
请指定已有的文件夹，或加上 --create 新建它。</source>
        <translation>
Name an existing folder, or add --create to make it.</translation>
    </message>
    <message>
        <source>无法建立数据文件夹：</source>
        <translation>Cannot create the data folder: </translation>
    </message>
</context>
<context>
    <name>ui::DialogPrompter</name>
    <message>
        <source>青岚</source>
        <translation>Qinglan</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>是否保存</source>
        <translation>Save?</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don&apos;t save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ui::FieldWords</name>
    <message>
        <source>自身</source>
        <comment>question</comment>
        <translation>Self</translation>
    </message>
    <message>
        <source>他人</source>
        <comment>question</comment>
        <translation>Others</translation>
    </message>
    <message>
        <source>父母</source>
        <comment>question</comment>
        <translation>Parents</translation>
    </message>
    <message>
        <source>长辈</source>
        <comment>question</comment>
        <translation>Elders</translation>
    </message>
    <message>
        <source>文书</source>
        <comment>question</comment>
        <translation>Documents</translation>
    </message>
    <message>
        <source>房屋</source>
        <comment>question</comment>
        <translation>House</translation>
    </message>
    <message>
        <source>车辆</source>
        <comment>question</comment>
        <translation>Vehicle</translation>
    </message>
    <message>
        <source>消息</source>
        <comment>question</comment>
        <translation>News</translation>
    </message>
    <message>
        <source>考试</source>
        <comment>question</comment>
        <translation>Exam</translation>
    </message>
    <message>
        <source>兄弟</source>
        <comment>question</comment>
        <translation>Siblings</translation>
    </message>
    <message>
        <source>朋友</source>
        <comment>question</comment>
        <translation>Friends</translation>
    </message>
    <message>
        <source>同事</source>
        <comment>question</comment>
        <translation>Colleagues</translation>
    </message>
    <message>
        <source>子女</source>
        <comment>question</comment>
        <translation>Children</translation>
    </message>
    <message>
        <source>晚辈</source>
        <comment>question</comment>
        <translation>Juniors</translation>
    </message>
    <message>
        <source>医药</source>
        <comment>question</comment>
        <translation>Medicine</translation>
    </message>
    <message>
        <source>宠物</source>
        <comment>question</comment>
        <translation>Pets</translation>
    </message>
    <message>
        <source>求财</source>
        <comment>question</comment>
        <translation>Wealth</translation>
    </message>
    <message>
        <source>失物</source>
        <comment>question</comment>
        <translation>Lost item</translation>
    </message>
    <message>
        <source>工作</source>
        <comment>question</comment>
        <translation>Work</translation>
    </message>
    <message>
        <source>功名</source>
        <comment>question</comment>
        <translation>Career</translation>
    </message>
    <message>
        <source>官司</source>
        <comment>question</comment>
        <translation>Lawsuit</translation>
    </message>
    <message>
        <source>疾病</source>
        <comment>question</comment>
        <translation>Illness</translation>
    </message>
    <message>
        <source>出行</source>
        <comment>question</comment>
        <translation>Travel</translation>
    </message>
    <message>
        <source>婚姻</source>
        <comment>question</comment>
        <translation>Marriage</translation>
    </message>
    <message>
        <source>男</source>
        <comment>sex</comment>
        <translation>Male</translation>
    </message>
    <message>
        <source>女</source>
        <comment>sex</comment>
        <translation>Female</translation>
    </message>
    <message>
        <source>未知</source>
        <comment>sex</comment>
        <translation>N/A</translation>
    </message>
</context>
<context>
    <name>ui::MainWindow</name>
    <message>
        <source>青岚起卦排盘</source>
        <translation>Qinglan Hexagram Charts</translation>
    </message>
    <message>
        <source>旬空出空</source>
        <translation>Void and its end</translation>
    </message>
    <message>
        <source>点击重新输入日期来计算新的旬空和出空</source>
        <translation>Click to enter another date for the void and its end</translation>
    </message>
    <message>
        <source>综</source>
        <translation>Inv.</translation>
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
        <source>装六兽</source>
        <translation>Six beasts</translation>
    </message>
    <message>
        <source>按年干</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>按月干</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>按日干</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>方位</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>按先天</source>
        <translation>Earlier</translation>
    </message>
    <message>
        <source>按后天</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>取数</source>
        <translation>Numbers</translation>
    </message>
    <message>
        <source>排卦方式</source>
        <translation>Method</translation>
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
        <source>显示天干</source>
        <translation>Show stems</translation>
    </message>
    <message>
        <source>显示全部变爻</source>
        <translation>All changed lines</translation>
    </message>
    <message>
        <source>显示暗动变爻</source>
        <translation>Dark-moving lines</translation>
    </message>
    <message>
        <source>当不是全部显示变爻时是否显示暗动的变爻</source>
        <translation>When not all changed lines are shown, whether to show those of dark-moving lines</translation>
    </message>
    <message>
        <source>卦内冲合变色</source>
        <translation>Colour clashes and combinations</translation>
    </message>
    <message>
        <source>在相应爻上点击鼠标即可变色</source>
        <translation>Click a line to colour it</translation>
    </message>
    <message>
        <source>显示标注</source>
        <translation>Show notes</translation>
    </message>
    <message>
        <source>重新起卦</source>
        <translation>Cast again</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>查看万年历</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>天干地支和农历公历星期对照</source>
        <translation>Stems and branches beside the lunar and Gregorian dates and weekdays</translation>
    </message>
    <message>
        <source>显示综卦</source>
        <translation>Show inverted</translation>
    </message>
    <message>
        <source>显示主卦的反卦</source>
        <translation>Show the main hexagram turned upside down</translation>
    </message>
    <message>
        <source>复制卦文本</source>
        <translation>Copy text</translation>
    </message>
    <message>
        <source>将卦象以文本方式复制到剪贴板</source>
        <translation>Copy the chart to the clipboard as text</translation>
    </message>
    <message>
        <source>复制卦图像</source>
        <translation>Copy picture</translation>
    </message>
    <message>
        <source>将卦象以图片方式复制到剪贴板</source>
        <translation>Copy the chart to the clipboard as a picture</translation>
    </message>
    <message>
        <source>查看上一卦</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>查看刚才浏览过的上一个卦例</source>
        <translation>Show the case viewed before this one</translation>
    </message>
    <message>
        <source>查看下一卦</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>查看刚才浏览过的下一个卦例</source>
        <translation>Show the case viewed after this one</translation>
    </message>
    <message>
        <source>查看最近50卦</source>
        <translation>Recent 50</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>显示变卦</source>
        <translation>Show changed</translation>
    </message>
    <message>
        <source>不显示</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>卦像分析</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>显示基础知识</source>
        <translation>Basics</translation>
    </message>
    <message>
        <source>保存卦例</source>
        <translation>Save case</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>断语：</source>
        <translation>Judgment:</translation>
    </message>
    <message>
        <source>双击鼠标可放大缩小断语输入框窗口</source>
        <translation>Double-click to enlarge or shrink the judgment box</translation>
    </message>
    <message>
        <source>保存断语</source>
        <translation>Save judgment</translation>
    </message>
    <message>
        <source>双击鼠标可放大缩小反馈内容输入框窗口</source>
        <translation>Double-click to enlarge or shrink the feedback box</translation>
    </message>
    <message>
        <source>保存反馈</source>
        <translation>Save feedback</translation>
    </message>
    <message>
        <source>全部保存</source>
        <translation>Save both</translation>
    </message>
    <message>
        <source>同时保存断语和反馈的内容</source>
        <translation>Save the judgment and the feedback together</translation>
    </message>
    <message>
        <source>消息</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>青岚六爻交流群</source>
        <translation>Qinglan liuyao group</translation>
    </message>
    <message>
        <source>更多优秀QQ群推荐</source>
        <translation>More QQ groups</translation>
    </message>
    <message>
        <source>点次查看更多优秀QQ群</source>
        <translation>Click for more recommended QQ groups</translation>
    </message>
    <message>
        <source>刷新显示</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>查看变卦</source>
        <translation>Changed hexagram</translation>
    </message>
    <message>
        <source>查看综卦</source>
        <translation>Inverted hexagram</translation>
    </message>
    <message>
        <source>卦象分析</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>断卦辅助</source>
        <translation>Reading aid</translation>
    </message>
    <message>
        <source>复制卦象为文本</source>
        <translation>Copy chart as text</translation>
    </message>
    <message>
        <source>复制卦象为图片</source>
        <translation>Copy chart as picture</translation>
    </message>
    <message>
        <source>保存卦图</source>
        <translation>Save chart picture</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>读取卦例</source>
        <translation>Open case</translation>
    </message>
    <message>
        <source>验证统计</source>
        <translation>Outcome record</translation>
    </message>
    <message>
        <source>搜索卦例</source>
        <translation>Search cases</translation>
    </message>
    <message>
        <source>备份卦例库…</source>
        <translation>Back up case library…</translation>
    </message>
    <message>
        <source>从备份恢复卦例库…</source>
        <translation>Restore case library from backup…</translation>
    </message>
    <message>
        <source>更改旺衰</source>
        <translation>Strength basis</translation>
    </message>
    <message>
        <source>月日(默认)</source>
        <translation>Month and day (default)</translation>
    </message>
    <message>
        <source>年月</source>
        <translation>Year and month</translation>
    </message>
    <message>
        <source>日时</source>
        <translation>Day and hour</translation>
    </message>
    <message>
        <source>时分</source>
        <translation>Hour and minute</translation>
    </message>
    <message>
        <source>设置…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>显示主卦</source>
        <translation>Show main</translation>
    </message>
    <message>
        <source>显示本卦</source>
        <translation>Show original</translation>
    </message>
    <message>
        <source>输入新的旬空出空日期</source>
        <translation>Date for the void</translation>
    </message>
    <message>
        <source>输入 </source>
        <translation>Date </translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>最近的卦例来自网络云存储，不能在这里删除。</source>
        <translation>The recent cases come from the cloud store and cannot be deleted here.</translation>
    </message>
    <message>
        <source>备份卦例库和笔记</source>
        <translation>Back up the case library and notes</translation>
    </message>
    <message>
        <source>青岚备份 (*.backup *.db)</source>
        <translation>Qinglan backup (*.backup *.db)</translation>
    </message>
    <message>
        <source>从备份恢复卦例库</source>
        <translation>Restore the case library from a backup</translation>
    </message>
    <message>
        <source>青岚备份 (*.backup *.db);;所有文件 (*)</source>
        <translation>Qinglan backup (*.backup *.db);;All files (*)</translation>
    </message>
    <message>
        <source>反馈：</source>
        <translation>Feedback:</translation>
    </message>
    <message>
        <source>卦图</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>断语</source>
        <translation>Judgment</translation>
    </message>
    <message>
        <source>反馈</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>最近50卦</source>
        <translation>Recent 50 cases</translation>
    </message>
    <message>
        <source>六爻ID</source>
        <translation>Case ID</translation>
    </message>
    <message>
        <source>卦图保存失败：</source>
        <translation>Could not save the chart picture: </translation>
    </message>
    <message>
        <source>卦图.png</source>
        <translation>chart.png</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>无法打印：打印机没有准备好。</source>
        <translation>Cannot print: the printer is not ready.</translation>
    </message>
</context>
<context>
    <name>ui::OutcomeBar</name>
    <message>
        <source>取应期</source>
        <translation>Take timing</translation>
    </message>
    <message>
        <source>把断卦辅助中选中的应期填为预测应期</source>
        <translation>Use the timing chosen in the reading aid as the predicted date</translation>
    </message>
</context>
<context>
    <name>ui::OutcomeEditor</name>
    <message>
        <source>待验</source>
        <translation>Pending</translation>
    </message>
    <message>
        <source>应验</source>
        <translation>Hit</translation>
    </message>
    <message>
        <source>部分应验</source>
        <translation>Partial</translation>
    </message>
    <message>
        <source>未应验</source>
        <translation>Miss</translation>
    </message>
    <message>
        <source>验证结果</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>应验日期</source>
        <translation>Date it came true</translation>
    </message>
    <message>
        <source>预测应期</source>
        <translation>Predicted date</translation>
    </message>
    <message>
        <source>验证(&amp;Y)：</source>
        <translation>Outcome(&amp;Y):</translation>
    </message>
    <message>
        <source>应期：</source>
        <translation>Due:</translation>
    </message>
    <message>
        <source>实应：</source>
        <translation>Actual:</translation>
    </message>
</context>
<context>
    <name>ui::PlaceFields</name>
    <message>
        <source>经度</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>起卦地点的经度，东经为正、西经为负</source>
        <translation>Longitude of the place of the cast: east positive, west negative</translation>
    </message>
    <message>
        <source>时区</source>
        <translation>Time zone</translation>
    </message>
    <message>
        <source>起卦时钟表所用的时区，如 Europe/Berlin；卦例的时间是当地钟表时间</source>
        <translation>The time zone of the clock at the cast, such as Europe/Berlin; a case&apos;s time is the local clock time</translation>
    </message>
    <message>
        <source>北京时间</source>
        <translation>Beijing time</translation>
    </message>
    <message>
        <source>四柱按当地钟表时间换算的北京时间（东八区）起</source>
        <translation>The pillars from the local clock time converted to Beijing time (UTC+8)</translation>
    </message>
    <message>
        <source>真太阳时</source>
        <translation>Solar time</translation>
    </message>
    <message>
        <source>四柱按当地真太阳时起：经度所定的地方平时加上时差（均时差）</source>
        <translation>The pillars from the local true solar time: the mean time of the longitude plus the equation of time</translation>
    </message>
    <message>
        <source>经度：</source>
        <translation>Longitude:</translation>
    </message>
    <message>
        <source>时区：</source>
        <translation>Time zone:</translation>
    </message>
    <message>
        <source>四柱按：</source>
        <translation>Pillars by:</translation>
    </message>
</context>
<context>
    <name>ui::ReadingPanel</name>
    <message>
        <source>断卦辅助</source>
        <translation>Reading aid</translation>
    </message>
    <message>
        <source>占类</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>占类：</source>
        <translation>Question:</translation>
    </message>
    <message>
        <source>性别：</source>
        <translation>Gender:</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>尚未排卦</source>
        <translation>No chart yet</translation>
    </message>
    <message>
        <source>用神</source>
        <translation>Use God</translation>
    </message>
    <message>
        <source>在卦图上标出此爻</source>
        <translation>Mark this line on the chart</translation>
    </message>
    <message>
        <source>选中后点“取应期”，填为预测应期</source>
        <translation>Select, then press “Take timing” to use it as the predicted date</translation>
    </message>
    <message>
        <source>卦象结构</source>
        <translation>Structure</translation>
    </message>
    <message>
        <source>神煞</source>
        <translation>Spirits</translation>
    </message>
</context>
<context>
    <name>ui::RequestGuard</name>
    <message>
        <source>正在联网，按 Esc 取消</source>
        <translation>Connecting; press Esc to cancel</translation>
    </message>
</context>
<context>
    <name>ui::SettingsDialog</name>
    <message>
        <source>用神两现：</source>
        <translation>Use God twice:</translation>
    </message>
    <message>
        <source>持世、临月日、月破、旬空、发动、旺相(默认)</source>
        <translation>Self, month/day, broken, void, moving, strong (default)</translation>
    </message>
    <message>
        <source>古法：旺相、发动、不破、不空</source>
        <translation>Old rule: strong, moving, unbroken, not void</translation>
    </message>
    <message>
        <source>用神在卦中出现两次以上时取哪一爻。默认依《卜筮正宗》《增删卜易》：持世、临月日、月破、旬空、发动、旺相逐条筛选；古法为《增删卜易》所引：旺相、发动、不月破、不旬空。最后都取近世者。</source>
        <translation>Which line to take when the Use God appears more than once. The default follows Bushi Zhengzong and Zengshan Buyi: holding Self, taking the month or day, month-broken, void, moving, strong, checked in turn; the old rule, quoted in Zengshan Buyi: strong, moving, not month-broken, not void. Both finally take the line nearest Self.</translation>
    </message>
    <message>
        <source>土墓：</source>
        <translation>Earth tomb:</translation>
    </message>
    <message>
        <source>辰(默认，水土同宫)</source>
        <translation>Chen (default, water and earth share)</translation>
    </message>
    <message>
        <source>戌(火土同宫)</source>
        <translation>Xu (fire and earth share)</translation>
    </message>
    <message>
        <source>应期中土的入墓之地：水土同长生者墓于辰，火土同长生者墓于戌。</source>
        <translation>Where earth enters its tomb in timing: with earth growing like water, the tomb is Chen; like fire, it is Xu.</translation>
    </message>
    <message>
        <source>贵人：</source>
        <translation>Noble:</translation>
    </message>
    <message>
        <source>庚辛逢马虎(默认)</source>
        <translation>Geng Xin: horse, tiger (default)</translation>
    </message>
    <message>
        <source>甲戊庚牛羊</source>
        <translation>Jia Wu Geng: ox, goat</translation>
    </message>
    <message>
        <source>两种贵人歌诀，自宋代起即有争议。
甲戊兼牛羊，乙己鼠猴乡，丙丁猪鸡位，壬癸兔蛇藏，庚辛逢马虎，此是贵人方（庚贵人在午寅）。
甲戊庚牛羊，乙己鼠猴乡，丙丁猪鸡位，壬癸兔蛇藏，六辛逢马虎，此是贵人方（庚贵人在丑未）。
两诀只在庚日不同。</source>
        <translation>Two rhymes for the Noble, disputed since the Song dynasty.
Jia and Wu with ox and goat, Yi and Ji with rat and monkey, Bing and Ding with pig and rooster, Ren and Gui with rabbit and snake, Geng and Xin with horse and tiger (Geng’s Noble at Wu and Yin).
Jia, Wu and Geng with ox and goat, Yi and Ji with rat and monkey, Bing and Ding with pig and rooster, Ren and Gui with rabbit and snake, Xin with horse and tiger (Geng’s Noble at Chou and Wei).
The two differ on Geng days only.</translation>
    </message>
    <message>
        <source>旺衰名称：</source>
        <translation>Strength names:</translation>
    </message>
    <message>
        <source>旺相衰休囚(默认)</source>
        <translation>Wang Xiang Shuai Xiu Qiu (default)</translation>
    </message>
    <message>
        <source>旺相休囚死</source>
        <translation>Wang Xiang Xiu Qiu Si</translation>
    </message>
    <message>
        <source>同样五种状态的两套名称：与月同五行为旺，月生为相；生月者 衰/休，克月者 休/囚，被月克者 囚/死。</source>
        <translation>Two sets of names for the same five states: the month&apos;s own element is Wang, one it produces is Xiang; one producing the month is Shuai/Xiu, one controlling it Xiu/Qiu, one controlled by it Qiu/Si.</translation>
    </message>
    <message>
        <source>进神退神：</source>
        <translation>Advance/retreat:</translation>
    </message>
    <message>
        <source>八对，含戌丑(默认)</source>
        <translation>Eight pairs, with Xu-Chou (default)</translation>
    </message>
    <message>
        <source>七对，不含戌丑</source>
        <translation>Seven pairs, without Xu-Chou</translation>
    </message>
    <message>
        <source>化进化退的对子：亥子、寅卯、巳午、申酉、丑辰、辰未、未戌，以及有争议的戌丑。</source>
        <translation>The pairs that advance or retreat: Hai-Zi, Yin-Mao, Si-Wu, Shen-You, Chou-Chen, Chen-Wei, Wei-Xu, and the disputed Xu-Chou.</translation>
    </message>
    <message>
        <source>阴干羊刃：</source>
        <translation>Yin stem blade:</translation>
    </message>
    <message>
        <source>禄后一位(默认，《渊海子平》)</source>
        <translation>One after the salary (default, Yuanhai Ziping)</translation>
    </message>
    <message>
        <source>逆数：乙寅 丁巳 己巳 辛申 癸亥</source>
        <translation>Counted back: Yi Yin, Ding Si, Ji Si, Xin Shen, Gui Hai</translation>
    </message>
    <message>
        <source>五阴无刃</source>
        <translation>No blade for yin stems</translation>
    </message>
    <message>
        <source>乙丁己辛癸日的羊刃。阳干都取禄后一位。</source>
        <translation>The blade on Yi, Ding, Ji, Xin and Gui days. Yang stems all take the branch after the salary.</translation>
    </message>
    <message>
        <source>驿马等：</source>
        <translation>Travel horse etc.:</translation>
    </message>
    <message>
        <source>按日支(默认，六爻所取)</source>
        <translation>By day branch (default, as in liuyao)</translation>
    </message>
    <message>
        <source>按年支</source>
        <translation>By year branch</translation>
    </message>
    <message>
        <source>驿马、桃花、华盖、劫煞、灾煞按日支还是年支的三合局起。</source>
        <translation>Whether the travel horse, peach blossom, canopy, robbery and disaster spirits follow the triad of the day branch or of the year branch.</translation>
    </message>
    <message>
        <source>子时：</source>
        <translation>Zi hour:</translation>
    </message>
    <message>
        <source>23点仍算当日(默认)</source>
        <translation>23:00 is the same day (default)</translation>
    </message>
    <message>
        <source>早子时：23点换日</source>
        <translation>Early Zi: new day at 23:00</translation>
    </message>
    <message>
        <source>23:00—24:00的日柱：默认仍用当日日柱，时干按次日起；早子时则日柱在23:00换成次日。已存卦例不变，只是排盘按此重新计算。</source>
        <translation>The day pillar for 23:00–24:00: by default the same day&apos;s, with the hour stem counted from the next day; with early Zi the day pillar turns to the next day at 23:00. Stored cases stay as they are; only their charts are laid out again.</translation>
    </message>
    <message>
        <source>梅花年支：</source>
        <translation>Plum year branch:</translation>
    </message>
    <message>
        <source>农历正月初一换年(默认)</source>
        <translation>New year on lunar 1/1 (default)</translation>
    </message>
    <message>
        <source>立春换年</source>
        <translation>New year at Lichun</translation>
    </message>
    <message>
        <source>梅花时间起卦所取的年支：按农历新年，还是按立春（与年柱相同）。</source>
        <translation>The year branch of a plum blossom cast by time: from the lunar new year, or from Lichun (as the year pillar).</translation>
    </message>
    <message>
        <source>梅花闰月：</source>
        <translation>Plum leap month:</translation>
    </message>
    <message>
        <source>闰月按本月数(默认)</source>
        <translation>Leap month counts as its month (default)</translation>
    </message>
    <message>
        <source>闰月十六日起按下月数</source>
        <translation>From the 16th, as the next month</translation>
    </message>
    <message>
        <source>梅花时间起卦遇闰月时所取的月数。</source>
        <translation>The month number a plum blossom cast by time takes in a leap month.</translation>
    </message>
    <message>
        <source>梅花三数：</source>
        <translation>Plum 3 numbers:</translation>
    </message>
    <message>
        <source>第三数定动爻(默认)</source>
        <translation>Third number sets the moving line (default)</translation>
    </message>
    <message>
        <source>三数之和定动爻</source>
        <translation>Sum sets the moving line</translation>
    </message>
    <message>
        <source>报三个数时：上卦取第一数，下卦取第二数，动爻取第三数，或取三数之和。</source>
        <translation>With three numbers: the upper trigram from the first, the lower from the second, the moving line from the third, or from the sum of all three.</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>节气算法</source>
        <translation>Solar terms</translation>
    </message>
    <message>
        <source>公式(默认)</source>
        <translation>Formula (default)</translation>
    </message>
    <message>
        <source>天文</source>
        <translation>Astronomical</translation>
    </message>
    <message>
        <source>天文：节气和朔日按太阳、月亮的视位置计算（%1—%2年），四柱的节气文字带“天”字；范围之外仍用公式。已存卦例的排盘按此处的选择重新计算。</source>
        <translation>Astronomical: solar terms and new moons from the apparent places of the sun and moon (%1–%2); the term text above the chart then ends in “(ephemeris)”; outside that range the formula is used. Stored cases are laid out again by this choice.</translation>
    </message>
    <message>
        <source>流派选择</source>
        <translation>Schools</translation>
    </message>
    <message>
        <source>起卦地点（新起之卦与输入的卦例ID）</source>
        <translation>Place of the cast (new casts and typed case IDs)</translation>
    </message>
    <message>
        <source>默认东经120°、Asia/Shanghai、北京时间：钟表时间即作北京时间，不作换算。已存卦例按各自保存的地点排盘。</source>
        <translation>Default 120° E, Asia/Shanghai, Beijing time: the clock time is taken as Beijing time, unconverted. Stored cases are laid out by the place saved with each.</translation>
    </message>
    <message>
        <source>界面语言</source>
        <translation>Interface language</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>Follow the system</translation>
    </message>
    <message>
        <source>更改界面语言后，下次启动本程序时生效。</source>
        <translation>A change of the interface language takes effect the next time the program starts.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ui::Splash</name>
    <message>
        <source>青岚 启动中……</source>
        <translation>Qinglan is starting…</translation>
    </message>
</context>
<context>
    <name>workbench::Prompter</name>
    <message>
        <source>有断语或者反馈没保存，是否保存？</source>
        <translation>The judgment or the feedback is not saved. Save it?</translation>
    </message>
</context>
<context>
    <name>workbench::Workbench</name>
    <message>
        <source>日期格式不对，请按 yyyy-mm-dd 输入：</source>
        <translation>Wrong date format; please type yyyy-mm-dd: </translation>
    </message>
    <message>
        <source>断语保存成功。</source>
        <translation>Judgment saved.</translation>
    </message>
    <message>
        <source>断语保存失败，如果网络错误，一般重新启动程序即可恢复。</source>
        <translation>The judgment could not be saved. After a network error, restarting the program usually helps.</translation>
    </message>
    <message>
        <source>反馈保存成功。</source>
        <translation>Feedback saved.</translation>
    </message>
    <message>
        <source>反馈保存失败，如果网络错误，一般重新启动程序即可恢复。</source>
        <translation>The feedback could not be saved. After a network error, restarting the program usually helps.</translation>
    </message>
    <message>
        <source>全部保存成功。</source>
        <translation>Judgment and feedback saved.</translation>
    </message>
    <message>
        <source>全部保存失败，如果网络错误，一般重新启动程序即可恢复。</source>
        <translation>The judgment and feedback could not be saved. After a network error, restarting the program usually helps.</translation>
    </message>
    <message>
        <source>没有这个卦例。</source>
        <translation>There is no such case.</translation>
    </message>
    <message>
        <source>。请删减后再保存，编辑框中的内容没有改动。</source>
        <translation>. Shorten it, then save again; the text in the box is unchanged.</translation>
    </message>
    <message>
        <source>当前没有排盘，断语和反馈无处保存。</source>
        <translation>No chart is shown, so the judgment and feedback have nowhere to go.</translation>
    </message>
    <message>
        <source>当前显示的卦不是已保存的卦例，断语和反馈不会存入别的卦例。是否把当前的卦作为新卦例保存，并存入断语和反馈？</source>
        <translation>The chart shown is not a saved case, and the judgment and feedback never go into another case. Save this chart as a new case with the judgment and feedback?</translation>
    </message>
    <message>
        <source>无法获取id</source>
        <translation>Cannot get the ID of </translation>
    </message>
    <message>
        <source>已经到最前面。</source>
        <translation>This is the first.</translation>
    </message>
    <message>
        <source>已经到最后面。</source>
        <translation>This is the last.</translation>
    </message>
    <message>
        <source>确定删除卦例“%1”吗？删除后不能恢复（网络云存储中的副本不受影响）。</source>
        <translation>Delete the case “%1”? This cannot be undone (a copy in the cloud store is not affected).</translation>
    </message>
    <message>
        <source>找不到要删除的卦例。</source>
        <translation>The case to delete was not found.</translation>
    </message>
    <message>
        <source>确定删除分类“%1”吗？</source>
        <translation>Delete the category “%1”?</translation>
    </message>
    <message>
        <source>分类“%1”中有%2个卦例，删除分类后这些卦例将移到“%3”。确定删除吗？</source>
        <translation>The category “%1” holds %2 cases; deleting it moves them to “%3”. Delete it?</translation>
    </message>
    <message>
        <source>卦例库和笔记已备份到：</source>
        <translation>The case library and notes were backed up to: </translation>
    </message>
    <message>
        <source>确定用备份“%1”替换当前的卦例库和笔记吗？当前的会先自动备份。</source>
        <translation>Replace the current case library and notes with the backup “%1”? The current ones are backed up first.</translation>
    </message>
    <message>
        <source>卦例库和笔记已从备份恢复。</source>
        <translation>The case library and notes were restored from the backup.</translation>
    </message>
    <message>
        <source>
原来的卦例库和笔记已自动备份为：%1</source>
        <translation>
The previous case library and notes were backed up as: %1</translation>
    </message>
    <message>
        <source>
原来的卦例库另存为：%1</source>
        <translation>
The previous case library was kept as: %1</translation>
    </message>
    <message>
        <source>
原来的笔记文件夹另存为：%1</source>
        <translation>
The previous notes folder was kept as: %1</translation>
    </message>
</context>
</TS>
