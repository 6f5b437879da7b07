<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>ui::CalendarViewer</name>
    <message>
        <source>天干地支查看</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>公历</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请先选择年来查看月，再选择月来查看日</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使用此日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>月</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前选择的公历为：%1年%2月%3日</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ui::CaseBrowser</name>
    <message>
        <source>读取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据来源</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网络云存储</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本机数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查看方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按分类查看</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按时间查看</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关键字：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>搜索最多显示100个卦，如结果过多请更改关键字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>搜索</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取此卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>更改分类名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>在输入框内输入新名称，然后点此按钮更改类别名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除此卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除选中的本机卦例（Delete 键）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选中的卦例要移到的分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>移到此类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>把选中的本机卦例移到上面选的分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>以输入框内的名称添加一个新分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除选中的分类，其中的卦例移到“杂类”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存验证</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存选中的本机卦例的验证结果和日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>验证统计</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应验率、应期误差和久未验证的卦例</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>月</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>卦例</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>断语和反馈</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关键字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新类别名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已选%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>***反馈***</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法获取id%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入关键字。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请先选择一个要更改的原类别。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入新类别名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>类别名称最长%1个字。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新类别名称不能和现已存在名称相同。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是否将%1 更改为%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>这里只能删除或移动本机数据中的卦例，请先选择“本机数据”。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请先选择一个卦例。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请先在本机数据中选择一个要删除的类别。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ui::CastDialog</name>
    <message>
        <source>自身</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>他人</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>父母</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>长辈</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文书</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>房屋</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>车辆</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>消息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>考试</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>兄弟</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>朋友</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同事</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>子女</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>晚辈</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>医药</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>宠物</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>求财</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>失物</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工作</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>功名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>官司</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>疾病</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>出行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>婚姻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>男</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>女</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未知</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分类：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>性别：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>性别</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>出生年：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>出生年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>占类：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>占类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>常用功能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高级功能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数字/时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起卦方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>占事</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起卦日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起卦时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>卦例ID或者卦名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>占事：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起卦时间日期：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>手工起卦选项，点击鼠标更改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点击鼠标后分别会在少阳少阴老阳老阴之间变动</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第%1次摇得</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>手工起卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>电脑自动起卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>利用cpu真随机数或者伪随机数自动起卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>卦例ID或者卦名：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>根据卦名排盘</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>根据输入的卦名称来排盘</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>匹配干支</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按月日匹配干支，不论年，如果有年，请点击“查看干支纪年”手工匹配</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查看干支纪年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查看选定年月日的天干地支</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>初爻：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>二爻：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>三爻：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>四爻：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>五爻：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上爻：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点击右边按钮选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>鼠标点此更改阴阳</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>硬币%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清空</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>完成手工起卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下一爻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示硬币图案</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>手工起卦说明</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>支持12年产的ivy架构cpu真随机数和网络随机数，以cpu随机数为佳，速度快。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使用随机日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>勾选此项，起卦时将使用一个随机的日期作为起卦日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>排卦方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>随机</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>京房式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>藏山卜</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>仅排盘，不保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本次仅排盘不自动保存卦例，适合研究分析现有卦使用。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取卦例</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取以前保存的卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>如需输入卦例ID，可先关闭此窗口，然后在主界面内输入后敲回车。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起卦地点（本卦）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>梅花起卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时间起卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年支数+农历月+农历日为上卦，再加时支数为下卦，总数除六取动爻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>两个或三个数，以空格分开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第一数为上卦，第二数为下卦；两数之和（或加时辰数）定动爻，第三数另定动爻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>加时辰数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数字起卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报数：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>蓍草</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>蓍草起卦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用电脑起卦的随机数，按蓍草的概率取六爻</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>老阳 3/16，少阴 7/16，少阳 5/16，老阴 1/16</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入干支月和日</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ui::LoginWindow</name>
    <message>
        <source>（已记住密码）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>登陆网络</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用户名：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>密码：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记住用户名和密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不使用网络</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>注册新用户</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>忘记密码，找回密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在下载，请等待几分钟</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重复密码：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>手机号：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>邮箱：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>立即注册</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>有新版本 %1。本程序由系统的软件包管理器安装，请用它升级（例如 sudo apt upgrade）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>有新版本，是否升级？</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ui::PasswordWindow</name>
    <message>
        <source>密码修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原密码：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新密码：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认新密码：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已记住登录的设备：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最近使用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已记住登录的设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>移除所选设备</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ui::RecordWindow</name>
    <message>
        <source>实应 − 应期（天）：卦例数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>总数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部分应验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未应验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>待验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应验率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>占类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年份</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用神</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>排卦方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>动爻数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未选占类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无日期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未知</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>京房式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>藏山卜</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自身</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>他人</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>父母</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>长辈</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文书</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>房屋</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>车辆</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>消息</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>考试</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>兄弟</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>朋友</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同事</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>子女</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>晚辈</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>医药</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>宠物</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>求财</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>失物</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工作</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>功名</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>官司</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>疾病</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>出行</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>婚姻</source>
        <comment>question</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>世</source>
        <comment>use god</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应</source>
        <comment>use god</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>父母</source>
        <comment>use god</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>兄弟</source>
        <comment>use god</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>子孙</source>
        <comment>use god</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>妻财</source>
        <comment>use god</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>官鬼</source>
        <comment>use god</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>验证统计</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分类(&amp;C)：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起卦日期(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出图片(&amp;P)…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出CSV(&amp;V)…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>至</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出验证统计图片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>验证统计.png</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出验证统计 CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>验证统计.csv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部分类</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按季度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>季度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>实应 − 应期（天）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>卦例数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应期误差（中位数 %1 天）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起卦逾 %1 天仍待验（%2 例，双击打开）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
