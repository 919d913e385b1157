// The page of recorded games, newest first.
import { fetchGames } from './api.js';

function gameRow(game) {
  const row = document.createElement('tr');
  row.dataset.game = game.id;
  const cell = (text) => {
    const td = document.createElement('td');
    td.textContent = text;
    row.append(td);
    return td;
  };
  const date = cell('');
  const link = document.createElement('a');
  link.href = `/review/${encodeURIComponent(game.id)}`;
  link.textContent = game.date;
  date.append(link);
  game.names.forEach((name) => cell(name));
  cell(`${game.totals[0]} : ${game.totals[1]}` + (game.abandoned ? ' (left unfinished)' : ''));
  cell(String(game.deals));
  return row;
}

async function show() {
  const status = document.getElementById('status');
  try {
    const games = await fetchGames();
    const table = document.getElementById('games');
    table.tBodies[0].replaceChildren(...games.map(gameRow));
    table.hidden = games.length === 0;
    status.textContent = games.length === 0 ? 'No finished games are recorded yet.' : `${games.length} games`;
  } catch (error) {
    status.textContent = `The games cannot be listed: ${error.message}`;
  }
}

show();
