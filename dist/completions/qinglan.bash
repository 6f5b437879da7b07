# bash completion for qinglan, qinglan-cli and qinglan-caseservice. The commands and options are
# read from the programs' own --help while completing, so a new command or option needs no
# change here. Installed once under each program's name.

# qinglan-cli's commands: the first words of the lines of the "commands:" part of its help.
_qinglan_commands() {
    "$1" --help 2>/dev/null | sed -nE '/^commands:/,/^$/s/^  ([a-z][a-z-]*).*/\1/p' | sort -u
}

# The verbs of a command that has them ("cases export"): its lines' lower-case second words.
_qinglan_verbs() {
    "$1" --help 2>/dev/null | sed -nE "/^commands:/,/^\$/s/^  $2 ([a-z][a-z-]*)( .*)?\$/\\1/p" | sort -u
}

_qinglan() {
    local cur prev words cword
    _init_completion -s || return
    case $prev in
        --data-dir) _filedir -d; return ;;
        --lang) COMPREPLY=($(compgen -W 'zh_CN zh_TW en' -- "$cur")); return ;;
        --config | --db | --case | --service | --listen | --limit | --category | --from | --to | --today \
            | --calendar | --beasts | --basis | --ordinal | --direction | --line | --column)
            [[ $prev == --config || $prev == --db ]] && _filedir
            return ;;
    esac
    local program=${words[0]} help=--help
    if [[ ${program##*/} == qinglan-cli ]]; then
        if ((cword == 1)); then
            COMPREPLY=($(compgen -W '$(_qinglan_commands "$program") --help --version' -- "$cur"))
            return
        fi
        local verbs
        verbs=$(_qinglan_verbs "$program" "${words[1]}")
        if [[ -n $verbs ]]; then
            if ((cword == 2)); then
                COMPREPLY=($(compgen -W '$verbs' -- "$cur"))
                return
            fi
            help="${words[1]} ${words[2]} --help"
        else
            help="${words[1]} --help"
        fi
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '$(_parse_help "$program" "$help")' -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    _filedir
}
complete -F _qinglan qinglan qinglan-cli qinglan-caseservice
