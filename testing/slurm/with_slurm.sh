#!/usr/bin/env bash
# with_slurm.sh COMMAND [ARGUMENT...]
#
# Runs COMMAND with a one-node Slurm cluster of its own on this machine:
# munged, slurmctld and slurmd, started here as root with every file (key,
# sockets, configuration, state, spool, logs) in one temporary folder, and
# talking over loopback only (listening on 127.0.0.1 alone, two free ports).
# COMMAND gets SLURM_CONF pointing at the cluster's slurm.conf, so that sbatch, squeue,
# scancel, scontrol and sinfo reach this cluster, and VESK_SLURM_DIR, the
# folder. When COMMAND ends, its jobs are cancelled, every process started
# under the cluster is stopped and the folder is removed; the exit status is
# COMMAND's.
#
# Exits with 77 (ctest's skip) and says why when it cannot run: not root, no
# munged or Slurm daemons installed (Debian: munge, slurm-wlm), or daemons
# that do not come up (their logs are printed).
#
# The node has the machine's processors (nproc), 1000 MB and the one
# partition debug. Processes are tracked by their parents
# (proctrack/linuxproc), tasks are not bound (task/none): no cgroups needed.
# VESK_SLURM_KEEP=1 keeps the folder for a look at the logs.
set -euo pipefail

skip() {
  echo "with_slurm.sh: skipped: $*" >&2
  exit 77
}

if (($# == 0)); then
  echo "usage: with_slurm.sh COMMAND [ARGUMENT...]" >&2
  exit 2
fi
((EUID == 0)) || skip "the daemons are started as root (munged as the munge user); run as root"
for program in munged slurmctld slurmd sbatch squeue sinfo scancel scontrol; do
  command -v "$program" > /dev/null 2>&1 ||
    skip "$program not found; install the Debian packages munge and slurm-wlm"
done
id munge > /dev/null 2>&1 || skip "no munge user; install the Debian package munge"

# A TCP port no socket uses, at or above $1 (from /proc/net: no ss needed).
free_port() {
  local port=$1
  while grep -qs ":$(printf '%04X' "$port") " /proc/net/tcp /proc/net/tcp6; do
    port=$((port + 1))
  done
  echo "$port"
}

dir=$(mktemp -d /tmp/vesk-slurm.XXXXXX)
chmod 755 "$dir"
conf=$dir/slurm.conf
pids=()

# Processes started under this cluster: the daemons and everything they
# started carry SLURM_CONF=$conf in their environment, and nothing else does.
cluster_processes() {
  local entry variables variable
  for entry in /proc/[0-9]*; do
    [[ ${entry#/proc/} != "$$" && ${entry#/proc/} != "$BASHPID" ]] || continue
    mapfile -d '' variables 2> /dev/null < "$entry/environ" || continue
    for variable in "${variables[@]}"; do
      [[ $variable == "SLURM_CONF=$conf" ]] && echo "${entry#/proc/}"
    done
  done
  return 0
}

# Every process of the cluster: TERM, then KILL what is left after 5 s.
kill_cluster() {
  local left tries
  mapfile -t left < <(cluster_processes)
  ((${#left[@]} == 0)) || kill "${left[@]}" 2> /dev/null || true
  for ((tries = 0; tries < 25; tries++)); do
    mapfile -t left < <(cluster_processes)
    ((${#left[@]} == 0)) && return
    sleep 0.2
  done
  kill -KILL "${left[@]}" 2> /dev/null || true
}

stop_cluster() {
  local status=$? pid
  trap - EXIT INT TERM
  # The jobs first, while the controller runs (for at most 10 s).
  if [[ -n ${controller:-} ]] && kill -0 "$controller" 2> /dev/null; then
    timeout 5 scancel --quiet --user=root 2> /dev/null || true
    SECONDS=0
    while ((SECONDS < 10)) && [[ -n $(timeout 5 squeue -h -o %i 2> /dev/null) ]]; do
      sleep 0.2
    done
  fi
  kill_cluster
  for pid in "${pids[@]}"; do
    wait "$pid" 2> /dev/null || true
  done
  if [[ ${VESK_SLURM_KEEP:-} == 1 ]]; then
    touch "$dir/stopped"
    echo "with_slurm.sh: kept $dir" >&2
  else
    rm -rf "$dir"
  fi
  exit "$status"
}
trap stop_cluster EXIT
trap 'exit 143' INT TERM

# Should this script be killed outright (SIGKILL, as ctest does on a
# timeout), a watcher outside its process tree stops the cluster.
watch_over() {
  while kill -0 "$1" 2> /dev/null; do
    sleep 1
  done
  if [[ -d $dir && ! -e $dir/stopped ]]; then
    kill_cluster
    rm -rf "$dir"
  fi
}
(watch_over $$ < /dev/null > /dev/null 2>&1 &)

# The logs of a cluster that did not come up, then the skip.
give_up() {
  local log
  for log in "$dir"/munge/munged.log "$dir"/*.log; do
    [[ -f $log ]] && { echo "--- $log"; tail -n 20 "$log"; } >&2
  done
  skip "$*"
}

# munge: its own key, socket, pid and seed, as the munge user, which must own
# the key and its folder.
mkdir -m 755 "$dir/munge"
dd if=/dev/urandom of="$dir/munge/munge.key" bs=1024 count=1 status=none
chmod 400 "$dir/munge/munge.key"
chown -R munge:munge "$dir/munge"
SLURM_CONF=$conf runuser -u munge -- munged --socket="$dir/munge/munge.socket" \
  --key-file="$dir/munge/munge.key" --pid-file="$dir/munge/munged.pid" \
  --log-file="$dir/munge/munged.log" --seed-file="$dir/munge/munged.seed" \
  --origin=127.0.0.1 > "$dir/munged.out" 2>&1 || give_up "munged did not start"

controller_port=$(free_port 36817)
node_port=$(free_port $((controller_port + 1)))
cpus=$(nproc)
mkdir -p "$dir/state" "$dir/spool"
cat > "$conf" << EOF
ClusterName=vesk
SlurmctldHost=localhost(127.0.0.1)
SlurmctldPort=$controller_port
SlurmdPort=$node_port
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$dir/munge/munge.socket,cred_expire=5
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
MpiDefault=none
SwitchType=switch/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
ReturnToService=2
SlurmdParameters=config_overrides
CommunicationParameters=NoCtldInAddrAny,NoInAddrAny
MinJobAge=600
SchedulerParameters=sched_interval=2,bf_interval=2
KillWait=5
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$cpus RealMemory=1000 State=UNKNOWN
PartitionName=debug Nodes=localhost Default=YES MaxTime=INFINITE State=UP
EOF
export SLURM_CONF=$conf VESK_SLURM_DIR=$dir

for ((tries = 0; tries < 50; tries++)); do
  [[ -S $dir/munge/munge.socket ]] && break
  sleep 0.1
done
[[ -S $dir/munge/munge.socket ]] || give_up "munged made no socket"

# Sessions of their own: a signal to this script's process group (Ctrl-C,
# timeout) reaches them only through stop_cluster, in order.
setsid slurmctld -D -c -f "$conf" > "$dir/slurmctld.out" 2>&1 &
controller=$!
pids+=("$controller")
setsid slurmd -D -N localhost -f "$conf" > "$dir/slurmd.out" 2>&1 &
pids+=($!)
state=
for ((tries = 0; tries < 150; tries++)); do
  state=$(sinfo -h -n localhost -o %t 2> /dev/null || true)
  [[ $state == idle ]] && break
  for pid in "${pids[@]}"; do
    kill -0 "$pid" 2> /dev/null || give_up "a Slurm daemon stopped at start (pid $pid)"
  done
  sleep 0.2
done
[[ $state == idle ]] || give_up "the node is not idle after 30 s (state: ${state:-none})"

# In the background, so that a signal to this script stops the cluster at
# once (the command too: it carries SLURM_CONF) rather than after it.
set +e
"$@" 0<&0 &
wait "$!"
