# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for quorvelctl                                  -*- shell-script -*-

_quorvelctl_interfaces()
{
    local names=(/sys/class/net/*)
    [[ -e ${names[0]} ]] && printf '%s\n' "${names[@]##*/}"
}

_quorvelctl()
{
    local commands="setup status sample set plan addon sims reset limits interfaces watch chart export import help"
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local IFS=$'\n'
    COMPREPLY=()
    # --option=value: bash splits the word at the '='.
    if [[ $cur == = ]]; then
        cur=""
    fi
    if [[ $prev == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD-2]}
    fi
    if (( COMP_CWORD == 1 )); then
        COMPREPLY=($(IFS=' ' compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    local command=${COMP_WORDS[1]}

    case $prev in
        --day | --month | --overbound | --cutoff | --places | --metered | --autostart | --rollover)
            if [[ $command != chart ]]; then
                COMPREPLY=($(compgen -W $'on\noff' -- "$cur"))
                return
            fi
            return ;;  # chart --month takes an index
        --count | --ignore | --auto | --interface)
            COMPREPLY=($(compgen -W "$(_quorvelctl_interfaces)" -- "$cur"))
            return ;;
        --output)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --graph)
            COMPREPLY=($(compgen -W $'cumulative\ndaily\nboth' -- "$cur"))
            return ;;
        --idiom)
            COMPREPLY=($(compgen -W $'phone\ntablet' -- "$cur"))
            return ;;
        --free-hours)
            COMPREPLY=($(compgen -W $'off\n00:00-06:00' -- "$cur"))
            return ;;
        --plan | --start-day | --used | --at | --size | --scale | --every | --from | --until | --days)
            return ;;  # a number the user types
    esac

    local words="" options=""
    case $command in
        setup) options="--plan --start-day --used" ;;
        status) options="--json --oneline --waybar --watch --at" ;;
        sample) options="--json --at --notify" ;;
        set) (( COMP_CWORD == 2 )) && words="plan start-day used" ;;
        reset) (( COMP_CWORD == 2 )) && words="locations previous-months" ;;
        plan) options="--json --monthly --start-day --every --daily --prepaid --from --until --size --rollover --free-hours" ;;
        addon)
            (( COMP_CWORD == 2 )) && words="add list remove"
            options="--size --days --from --json" ;;
        sims) options="--json --name --forget --take-over" ;;
        limits) options="--day --month --overbound --cutoff --places" ;;
        interfaces) options="--json --count --ignore --auto --metered" ;;
        watch) options="--autostart --stop" ;;
        chart) options="--month --year --graph --size --scale --idiom --output" ;;
        export) options="--csv --json" ;;
        import)
            options="--csv --vnstat --interface --dry-run --settings"
            compopt -o filenames 2>/dev/null
            [[ $cur != -* ]] && COMPREPLY=($(compgen -f -- "$cur"))
            [[ $cur != -* ]] && return ;;
        help) (( COMP_CWORD == 2 )) && words=$commands ;;
        *) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(IFS=' ' compgen -W "$options --help" -- "$cur"))
    else
        COMPREPLY=($(IFS=' ' compgen -W "$words" -- "$cur"))
    fi
}
complete -F _quorvelctl quorvelctl
