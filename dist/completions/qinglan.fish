# fish completion for qinglan. The options are read from the program's own --help
# while completing, so a new option needs no change here.
complete -c qinglan -f -n 'string match -q -- "-*" (commandline -ct)' \
    -a '(qinglan --help 2>/dev/null | string replace -rf "^ +(-\w, )?(--[a-z][a-z-]*).*" "\$2")'
complete -c qinglan -l data-dir -x -a '(__fish_complete_directories)'
