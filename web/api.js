// The service's JSON endpoints (/api/). Writes carry the session's CSRF token.
let csrf = "";

export class ApiError extends Error {
  constructor(status, message) {
    super(message);
    this.status = status;
  }
}

async function call(method, path, body) {
  const headers = {};
  if (method !== "GET") {
    headers["Content-Type"] = "application/json";
    headers["X-CSRF-Token"] = csrf;
  }
  const response = await fetch(path, {
    method,
    headers,
    body: method === "GET" ? undefined : JSON.stringify(body ?? {}),
    credentials: "same-origin",
  });
  const data = await response.json().catch(() => ({}));
  if (!response.ok) throw new ApiError(response.status, data.error || `请求失败（${response.status}）`);
  return data;
}

export async function logIn(name, password) {
  const answer = await call("POST", "/api/login", { name, password });
  csrf = answer.csrf;
  // Only the login names the categories: kept for this tab, so a reload still knows them.
  sessionStorage.setItem("qinglan.categories", JSON.stringify(answer.categories || []));
  return answer;
}

export function categories() {
  try {
    const stored = JSON.parse(sessionStorage.getItem("qinglan.categories") || "[]");
    return Array.isArray(stored) ? stored : [];
  } catch {
    return [];
  }
}

export async function resumeSession() {
  const answer = await call("GET", "/api/session");
  csrf = answer.csrf;
  return answer;
}

export async function logOut() {
  await call("POST", "/api/logout", {});
  csrf = "";
  sessionStorage.removeItem("qinglan.categories");
}

// The parameters without the empty ones ("" category: every category).
const query = (params) =>
  new URLSearchParams(Object.entries(params).filter(([, value]) => value !== "" && value !== undefined)).toString();

export const recentCases = (limit = 50) => call("GET", `/api/cases?${query({ limit })}`);
export const casesOfMonth = (year, month, category) => call("GET", `/api/cases?${query({ year, month, category })}`);
export const years = (category) => call("GET", `/api/years?${query({ category })}`);
export const months = (year, category) => call("GET", `/api/months?${query({ year, category })}`);
export const search = (q) => call("GET", `/api/search?${query({ q })}`);
export const openCase = (id) => call("GET", `/api/cases/${encodeURIComponent(id)}`);
export const saveTexts = (id, judgment, feedback) =>
  call("PUT", `/api/cases/${encodeURIComponent(id)}/texts`, { judgment, feedback });
export const cast = (fields) => call("POST", "/api/cases", fields);
