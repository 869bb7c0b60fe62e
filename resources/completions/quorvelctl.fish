# SPDX-License-Identifier: GPL-3.0-or-later
# fish completion for quorvelctl

set -l commands setup status sample set plan addon sims reset limits interfaces watch chart export import help
set -l none "not __fish_seen_subcommand_from $commands"

function __quorvelctl_interfaces
    for path in /sys/class/net/*
        string replace -r '.*/' '' -- $path
    end
end

complete -c quorvelctl -f
complete -c quorvelctl -n $none -s h -l help -d 'show the commands'
complete -c quorvelctl -n $none -s V -l version -d 'show the version'
complete -c quorvelctl -n $none -a setup -d 'the first-start set-up: plan, start day, data used so far'
complete -c quorvelctl -n $none -a status -d 'sample the counters and show the billing month'
complete -c quorvelctl -n $none -a sample -d 'one background sample'
complete -c quorvelctl -n $none -a set -d 'change the plan, the start day or the data used this month'
complete -c quorvelctl -n $none -a plan -d "show or change the plan's shape, rollover and free hours"
complete -c quorvelctl -n $none -a addon -d 'add, list or remove data packs bought on top of the plan'
complete -c quorvelctl -n $none -a sims -d 'list, name, forget the SIMs this device has seen, or give one the plan so far'
complete -c quorvelctl -n $none -a reset -d 'forget the places or the previous months'
complete -c quorvelctl -n $none -a limits -d 'switch the usage alerts, or list the limits'
complete -c quorvelctl -n $none -a interfaces -d 'list the network interfaces and choose the counted ones'
complete -c quorvelctl -n $none -a watch -d 'stay resident and sample when the network changes'
complete -c quorvelctl -n $none -a chart -d 'draw the chart page of a billing month'
complete -c quorvelctl -n $none -a export -d 'print the stored day records'
complete -c quorvelctl -n $none -a import -d 'bring a history in: a backup, a CSV export or vnStat'"'"'s days'
complete -c quorvelctl -n $none -a help -d "show the commands, or one command's options"

complete -c quorvelctl -n "not $none" -l help -d 'show the options of this command'

complete -c quorvelctl -n '__fish_seen_subcommand_from setup' -l plan -x -d 'the monthly plan in megabytes'
complete -c quorvelctl -n '__fish_seen_subcommand_from setup' -l start-day -x -d 'the day each billing month begins on'
complete -c quorvelctl -n '__fish_seen_subcommand_from setup' -l used -x -d 'data used so far this month, in megabytes'

complete -c quorvelctl -n '__fish_seen_subcommand_from status' -l json -d 'one JSON object'
complete -c quorvelctl -n '__fish_seen_subcommand_from status' -l oneline -d 'one line for scripts and bars'
complete -c quorvelctl -n '__fish_seen_subcommand_from status' -l waybar -d 'a JSON line for waybar'
complete -c quorvelctl -n '__fish_seen_subcommand_from status' -l watch -d 'print a new line whenever the figures change'
complete -c quorvelctl -n '__fish_seen_subcommand_from status sample' -l at -x -d 'the device location, LAT,LON'
complete -c quorvelctl -n '__fish_seen_subcommand_from sample' -l json -d 'one JSON object'
complete -c quorvelctl -n '__fish_seen_subcommand_from sample' -l notify -d 'send an alert as a desktop notification'

complete -c quorvelctl -n '__fish_seen_subcommand_from set; and not __fish_seen_subcommand_from plan start-day used' -a 'plan start-day used'
complete -c quorvelctl -n '__fish_seen_subcommand_from reset; and not __fish_seen_subcommand_from locations previous-months' -a 'locations previous-months'

# `set plan` is not the plan command: its options only follow `plan` as the first word.
set -l plan '__fish_seen_subcommand_from plan; and not __fish_seen_subcommand_from set'
complete -c quorvelctl -n $plan -l json -d 'one JSON object'
complete -c quorvelctl -n $plan -l monthly -d 'renew every month'
complete -c quorvelctl -n $plan -l start-day -x -d 'the day each period begins on'
complete -c quorvelctl -n $plan -l every -x -d 'renew every N days'
complete -c quorvelctl -n $plan -l daily -d 'renew every day'
complete -c quorvelctl -n $plan -l prepaid -d 'one period, no renewal'
complete -c quorvelctl -n $plan -l from -x -d 'the first day, YYYY-MM-DD'
complete -c quorvelctl -n $plan -l until -x -d 'the last day, YYYY-MM-DD'
complete -c quorvelctl -n $plan -l size -x -d 'the plan in megabytes'
complete -c quorvelctl -n $plan -l rollover -x -a 'on off' -d 'unused plan into the next period'
complete -c quorvelctl -n $plan -l free-hours -x -a 'off' -d 'a window the carrier does not charge, HH:MM-HH:MM'
complete -c quorvelctl -n '__fish_seen_subcommand_from addon; and not __fish_seen_subcommand_from add list remove' -a 'add list remove'
complete -c quorvelctl -n '__fish_seen_subcommand_from addon' -l size -x -d 'the pack in megabytes'
complete -c quorvelctl -n '__fish_seen_subcommand_from addon' -l days -x -d 'how many days it is valid'
complete -c quorvelctl -n '__fish_seen_subcommand_from addon' -l from -x -d 'its first day, YYYY-MM-DD'
complete -c quorvelctl -n '__fish_seen_subcommand_from addon' -l json -d 'the packs as JSON'
complete -c quorvelctl -n '__fish_seen_subcommand_from sims' -l json -d 'the SIMs as JSON'
complete -c quorvelctl -n '__fish_seen_subcommand_from sims' -l name -x -d 'name a SIM: ID NAME'
complete -c quorvelctl -n '__fish_seen_subcommand_from sims' -l forget -x -d 'forget a SIM'
complete -c quorvelctl -n '__fish_seen_subcommand_from sims' -l take-over -x -d 'give a SIM the plan so far'

complete -c quorvelctl -n '__fish_seen_subcommand_from limits' -l day -x -a 'on off' -d 'the daily alert'
complete -c quorvelctl -n '__fish_seen_subcommand_from limits' -l month -x -a 'on off' -d 'the alert at 90 %'
complete -c quorvelctl -n '__fish_seen_subcommand_from limits' -l overbound -x -a 'on off' -d 'the alert past the plan'
complete -c quorvelctl -n '__fish_seen_subcommand_from limits' -l cutoff -x -a 'on off' -d 'mobile data off at the plan'
complete -c quorvelctl -n '__fish_seen_subcommand_from limits' -l places -x -a 'on off' -d 'record the places of use'

complete -c quorvelctl -n '__fish_seen_subcommand_from interfaces' -l json -d 'the list as JSON'
complete -c quorvelctl -n '__fish_seen_subcommand_from interfaces' -l count -x -a '(__quorvelctl_interfaces)' -d 'always count an interface'
complete -c quorvelctl -n '__fish_seen_subcommand_from interfaces' -l ignore -x -a '(__quorvelctl_interfaces)' -d 'never count an interface'
complete -c quorvelctl -n '__fish_seen_subcommand_from interfaces' -l auto -x -a '(__quorvelctl_interfaces)' -d 'decide as by default'
complete -c quorvelctl -n '__fish_seen_subcommand_from interfaces' -l metered -x -a 'on off' -d 'count metered connections'

complete -c quorvelctl -n '__fish_seen_subcommand_from watch' -l autostart -x -a 'on off' -d 'start with each session'
complete -c quorvelctl -n '__fish_seen_subcommand_from watch' -l stop -d 'end the running watcher'

complete -c quorvelctl -n '__fish_seen_subcommand_from chart' -l month -x -d 'the billing month, 0 the oldest'
complete -c quorvelctl -n '__fish_seen_subcommand_from chart' -l year -d 'the year page: the last twelve months'
complete -c quorvelctl -n '__fish_seen_subcommand_from chart' -l graph -x -a 'cumulative daily both' -d 'the graphs to draw'
complete -c quorvelctl -n '__fish_seen_subcommand_from chart' -l size -x -d 'the page size in pixels, WxH'
complete -c quorvelctl -n '__fish_seen_subcommand_from chart' -l scale -x -d 'pixels per page pixel'
complete -c quorvelctl -n '__fish_seen_subcommand_from chart' -l idiom -x -a 'phone tablet' -d 'the layout'
complete -c quorvelctl -n '__fish_seen_subcommand_from chart' -l output -r -F -d 'the file to write (.png, .svg, .pdf)'

complete -c quorvelctl -n '__fish_seen_subcommand_from export' -l csv -d 'comma-separated values'
complete -c quorvelctl -n '__fish_seen_subcommand_from export' -l json -d 'one JSON object'
complete -c quorvelctl -n '__fish_seen_subcommand_from import' -l csv -r -F -d 'a file of export --csv'
complete -c quorvelctl -n '__fish_seen_subcommand_from import' -l vnstat -d 'vnStat'"'"'s database'
complete -c quorvelctl -n '__fish_seen_subcommand_from import' -l interface -x -a '(__quorvelctl_interfaces)' -d 'the interface read from vnStat'
complete -c quorvelctl -n '__fish_seen_subcommand_from import' -l dry-run -d 'say what would change'
complete -c quorvelctl -n '__fish_seen_subcommand_from import' -l settings -d 'also take the plan and alert switches'

complete -c quorvelctl -n '__fish_seen_subcommand_from help; and test (count (commandline -opc)) -eq 2' -a "$commands"
