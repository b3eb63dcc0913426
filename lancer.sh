#!/usr/bin/env bash
# Installe ce qui manque, compile Kalimo et le lance.
# Usage : ./lancer.sh [dossier des données]   (par défaut ~/Kalimo)
set -euo pipefail
source_dir="$(cd "$(dirname "$0")" && pwd)"
data_dir="${1:-$HOME/Kalimo}"

"$source_dir/scripts/dependances.sh" programme
cmake --preset release -S "$source_dir" >/dev/null
cmake --build "$source_dir/build/release" --target kalimo

# Kalimo crée le dossier s'il manque et dit dans une fenêtre s'il ne peut pas s'en servir,
# comme lorsqu'il est lancé depuis le menu.
echo "Kalimo utilise le dossier : $(realpath -m -- "$data_dir")"
exec "$source_dir/build/release/src/kalimo" --dossier "$data_dir"
