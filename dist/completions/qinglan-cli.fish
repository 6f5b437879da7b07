# fish completion for qinglan-cli. The commands and options are read from the program's own --help
# while completing, so a new command or option needs no change here.

# The first words of the lines of the "commands:" part of the help.
function __qinglan_cli_commands
    qinglan-cli --help 2>/dev/null | sed -nE '/^commands:/,/^$/s/^  ([a-z][a-z-]*).*/\1/p' | sort -u
end

# The verbs of a command that has them ("cases export").
function __qinglan_cli_verbs --argument-names command
    qinglan-cli --help 2>/dev/null | sed -nE "/^commands:/,/^\$/s/^  $command ([a-z][a-z-]*)( .*)?\$/\\1/p" | sort -u
end

# What to offer for the word being typed, from the words before it.
function __qinglan_cli_complete
    set -l words (commandline -opc)
    set -l current (commandline -ct)
    if test (count $words) -eq 1
        __qinglan_cli_commands
        return
    end
    set -l verbs (__qinglan_cli_verbs $words[2])
    set -l help $words[2]
    if test -n "$verbs"
        if test (count $words) -eq 2
            printf '%s\n' $verbs
            return
        end
        set help $help $words[3]
    end
    if string match -q -- '-*' $current
        qinglan-cli $help --help 2>/dev/null | string replace -rf '^ +(-\w, )?(--[a-z][a-z-]*).*' '$2'
    else if test "$words[-1]" = --data-dir
        __fish_complete_directories $current
    else
        __fish_complete_path $current
    end
end

complete -c qinglan-cli -f -a '(__qinglan_cli_complete)'
