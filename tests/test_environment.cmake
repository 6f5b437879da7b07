# Tests read the program's texts in 简体中文 whatever the language of the machine running them; a
# test of another language asks for it (--lang, or LANGUAGE in its child's environment).
set(ENV{LANGUAGE} "zh_CN")
