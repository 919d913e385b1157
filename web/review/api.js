// The review's JSON endpoints on the server's web port.

async function getJson(url) {
  const response = await fetch(url, { cache: 'no-store' });
  let body = null;
  try {
    body = await response.json();
  } catch {
    body = { error: `the server answered ${response.status}` };
  }
  return { status: response.status, body };
}

export async function fetchGames() {
  const { status, body } = await getJson('/review/api/games');
  if (status !== 200) throw new Error(body.error || `status ${status}`);
  return body.games;
}

export async function fetchRecord(id) {
  const { status, body } = await getJson(`/review/api/games/${encodeURIComponent(id)}`);
  if (status !== 200) throw new Error(status === 404 ? 'no such game' : body.error || `status ${status}`);
  return body;
}

// Asks for the game's analysis until it is done, telling `onProgress`
// (done, total) while the server is making it.
export async function fetchAnalysis(id, onProgress, intervalMs = 500) {
  for (;;) {
    const { status, body } = await getJson(`/review/api/games/${encodeURIComponent(id)}/analysis`);
    if (status === 200) return body.deals;
    if (status !== 202) throw new Error(body.error || `status ${status}`);
    onProgress(body.done, body.total);
    await new Promise((resolve) => setTimeout(resolve, intervalMs));
  }
}
