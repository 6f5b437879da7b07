# fish completion for qinglan-caseservice. The options are read from the program's own --help
# while completing, so a new option needs no change here.
complete -c qinglan-caseservice -f -n 'string match -q -- "-*" (commandline -ct)' \
    -a '(qinglan-caseservice --help 2>/dev/null | string replace -rf "^ +(-\w, )?(--[a-z][a-z-]*).*" "\$2")'
