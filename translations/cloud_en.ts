<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>cloud::Account</name>
    <message>
        <source>出现错误，信息为：%1</source>
        <translation>An error occurred: %1</translation>
    </message>
    <message>
        <source>网络服务没有给出登录凭据</source>
        <translation>the case service sent no login credentials</translation>
    </message>
    <message>
        <source>此账号可能已被盗用，已被停用。如需恢复使用，请写信至 %1，注明用户名。</source>
        <translation>This account may have been compromised and has been disabled. To have it restored, write to %1 and give your user name.</translation>
    </message>
    <message>
        <source>密码只能人工重设：请写信至 %1，注明用户名以及注册时填写的手机号或电子邮箱，新的随机密码会以短信或邮件发给您。服务端只保存密码的摘要，原密码无法显示。也可以在青岚用户QQ群内联系管理员。</source>
        <translation>Passwords can only be reset by hand: write to %1 with your user name and the mobile number or email address you registered with, and a new random password will be sent to you by text message or email. The case service keeps only a digest of the password, so the old one cannot be shown. You can also contact an administrator in the Qinglan users&apos; QQ group.</translation>
    </message>
    <message>
        <source>无法从系统密钥环取得记住的登录，请输入密码。</source>
        <translation>The remembered login could not be read from the system keyring. Please enter your password.</translation>
    </message>
    <message>
        <source>请输入密码。</source>
        <translation>Please enter your password.</translation>
    </message>
    <message>
        <source>请输入用户名。</source>
        <translation>Please enter your user name.</translation>
    </message>
    <message>
        <source>网络服务没有为本机记住登录，下次需要输入密码：%1</source>
        <translation>The case service did not remember the login for this device; you will need your password next time: %1</translation>
    </message>
    <message>
        <source>系统密钥环和登录凭据文件都无法使用，下次需要输入密码。</source>
        <translation>Neither the system keyring nor the login credentials file can be used; you will need your password next time.</translation>
    </message>
    <message>
        <source>网络错误，登陆失败。</source>
        <translation>Network error; could not log in.</translation>
    </message>
    <message>
        <source>账号或密码错误，不能登陆。</source>
        <translation>Wrong user name or password; could not log in.</translation>
    </message>
    <message>
        <source>本机记住的登录已失效，请输入密码。</source>
        <translation>The login remembered on this device has expired. Please enter your password.</translation>
    </message>
    <message>
        <source>版本号不是整数：%1</source>
        <translation>the version number is not a whole number: %1</translation>
    </message>
    <message>
        <source>用户名不能为空</source>
        <translation>The user name cannot be empty</translation>
    </message>
    <message>
        <source>密码不能为空</source>
        <translation>The password cannot be empty</translation>
    </message>
    <message>
        <source>密码两次输入的不同</source>
        <translation>The two passwords differ</translation>
    </message>
    <message>
        <source>手机号或者电子邮箱号必须输入一个。</source>
        <translation>Enter a mobile number or an email address.</translation>
    </message>
    <message>
        <source>网络错误，请重试。</source>
        <translation>Network error. Please try again.</translation>
    </message>
    <message>
        <source>用户名已经存在。请换个用户名。</source>
        <translation>This user name is taken. Please choose another.</translation>
    </message>
    <message>
        <source>注册失败。</source>
        <translation>Registration failed.</translation>
    </message>
    <message>
        <source>注册成功。</source>
        <translation>Registered.</translation>
    </message>
    <message>
        <source>请输入原密码</source>
        <translation>Please enter your old password</translation>
    </message>
    <message>
        <source>请输入新密码</source>
        <translation>Please enter a new password</translation>
    </message>
    <message>
        <source>两次输入的新密码不同。</source>
        <translation>The two new passwords differ.</translation>
    </message>
    <message>
        <source>密码修改成功</source>
        <translation>Password changed</translation>
    </message>
    <message>
        <source>原密码不正确，无法修改。</source>
        <translation>The old password is wrong; the password was not changed.</translation>
    </message>
    <message>
        <source>网络保存出错：%1</source>
        <translation>Saving to the case service failed: %1</translation>
    </message>
</context>
<context>
    <name>cloud::CloudCaseService</name>
    <message>
        <source>网络保存失败，请重试，错误信息：%1</source>
        <translation>Saving to the case service failed; please try again. Error: %1</translation>
    </message>
    <message>
        <source>网络保存失败，错误信息：%1</source>
        <translation>Saving to the case service failed. Error: %1</translation>
    </message>
    <message>
        <source>***反馈***</source>
        <translation>***Feedback***</translation>
    </message>
    <message>
        <source>网络保存出错：%1</source>
        <translation>Saving to the case service failed: %1</translation>
    </message>
    <message>
        <source>网络错误，请重试。</source>
        <translation>Network error. Please try again.</translation>
    </message>
    <message>
        <source>网络上没有搜索到结果。</source>
        <translation>Nothing found in the case service.</translation>
    </message>
    <message>
        <source>网络上没有卦数据。</source>
        <translation>No cases in the case service.</translation>
    </message>
    <message>
        <source>网络上没有年数据。</source>
        <translation>No years in the case service.</translation>
    </message>
    <message>
        <source>网络上没有月数据。</source>
        <translation>No months in the case service.</translation>
    </message>
    <message>
        <source>网络服务拒绝了请求（用户名或密码不符），请重新启动程序并登陆。</source>
        <translation>The case service refused the request (user name or password no longer valid). Please restart the program and log in.</translation>
    </message>
</context>
<context>
    <name>cloud::DeviceList</name>
    <message>
        <source>无法读取设备列表：%1</source>
        <translation>Could not read the device list: %1</translation>
    </message>
    <message>
        <source>请先登陆网络。</source>
        <translation>Please log in first.</translation>
    </message>
    <message>
        <source>无法移除设备：%1</source>
        <translation>Could not remove the device: %1</translation>
    </message>
</context>
<context>
    <name>cloud::SelfUpdate</name>
    <message>
        <source>%1程序未作任何改动。</source>
        <translation>%1 The program was not changed.</translation>
    </message>
    <message>
        <source>本程序由系统的软件包管理器安装，请用它升级。</source>
        <translation>This program was installed by the system&apos;s package manager; upgrade it there.</translation>
    </message>
    <message>
        <source>本程序没有内置升级公钥，不能自动升级。</source>
        <translation>This program has no built-in update key and cannot update itself.</translation>
    </message>
    <message>
        <source>升级已取消。</source>
        <translation>Update cancelled.</translation>
    </message>
    <message>
        <source>下载新版本的签名失败。</source>
        <translation>Downloading the new version&apos;s signature failed.</translation>
    </message>
    <message>
        <source>新版本的签名无效，可能已被篡改，已拒绝安装。</source>
        <translation>The new version&apos;s signature is invalid; it may have been tampered with. Installation refused.</translation>
    </message>
    <message>
        <source>签名的新版本（%1）不比本程序新，已拒绝安装。</source>
        <translation>The signed version (%1) is not newer than this program. Installation refused.</translation>
    </message>
    <message>
        <source>新版本过大，已拒绝下载。</source>
        <translation>The new version is too large. Download refused.</translation>
    </message>
    <message>
        <source>无法写入新版本：%1。</source>
        <translation>Could not write the new version: %1.</translation>
    </message>
    <message>
        <source>下载的新版本与签名不符，可能已被篡改，已拒绝安装。</source>
        <translation>The downloaded version does not match its signature; it may have been tampered with. Installation refused.</translation>
    </message>
    <message>
        <source>下载新版本失败。</source>
        <translation>Downloading the new version failed.</translation>
    </message>
    <message>
        <source>下载的新版本是空的。</source>
        <translation>The downloaded version is empty.</translation>
    </message>
    <message>
        <source>无法读取下载的新版本：%1。</source>
        <translation>Could not read the downloaded version: %1.</translation>
    </message>
    <message>
        <source>无法写入新版本：不能设置文件权限。</source>
        <translation>Could not write the new version: its file permissions could not be set.</translation>
    </message>
    <message>
        <source>升级完成，程序将重新启动。</source>
        <translation>Update complete. The program will restart.</translation>
    </message>
</context>
<context>
    <name>cloud::ServiceAddress</name>
    <message>
        <source>网络服务地址无效：%1（应以 http:// 或 https:// 开头）</source>
        <translation>Invalid case service address: %1 (it must start with http:// or https://)</translation>
    </message>
    <message>
        <source>网络服务地址 %1 不在本机，必须以 https:// 开头：密码和登录凭据不能以明文 http 发往其他主机。</source>
        <translation>The case service address %1 is not on this computer, so it must start with https://: passwords and login credentials are never sent to another host over plain http.</translation>
    </message>
</context>
</TS>
